#include "grid_cell_base.h"

#include <algorithm>

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>
#include <QWidget>

#include "grid_ctrl.h"
#include "grid_default_cell.h"
#include "grid_text_format.h"

CGridCellBase& CGridCellBase::operator=(const CGridCellBase& other) {
    if (this == &other) return *this;
    SetGrid(other.GetGrid());
    SetText(other.GetText());
    SetImage(other.GetImage());
    SetData(other.GetData());
    SetState(other.GetState());
    SetFormat(other.GetFormat());
    SetTextColour(other.GetTextColour());
    SetBackColour(other.GetBackColour());
    SetFont(other.IsDefaultFont() ? nullptr : other.GetFont());
    SetMargin(other.GetMargin());
    return *this;
}

CGridDefaultCell* CGridCellBase::GetDefaultCell() const {
    CGridCtrl* grid = GetGrid();
    if (!grid) return nullptr;
    return grid->GetDefaultCell(IsFixedRow(), IsFixedColumn());
}

void CGridCellBase::Reset() { state_ = 0; }

bool CGridCellBase::GetTextRect(Rect* rect) const { return rect != nullptr; }

QSize CGridCellBase::GetTextExtent(const QString& text, QPainter* painter) const {
    if (text.isEmpty()) {
        const CGridDefaultCell* def = GetDefaultCell();
        return def ? QSize(def->GetWidth(), def->GetHeight()) : QSize(0, 0);
    }
    QFont font = GetFontObject();
    QFontMetrics metrics = painter ? QFontMetrics(font, painter->device()) : QFontMetrics(font);
    unsigned format = GetFormat();
    QSize extent;
    if (!(format & TextFormat::WordBreak) || (format & TextFormat::SingleLine)) {
        extent = QSize(metrics.horizontalAdvance(text), metrics.height());
    } else {
        // Broken at words within the widest line, nothing wraps further:
        // the widest line by as many lines as the text has.
        const QStringList lines = text.split(QLatin1Char('\n'));
        int widest = 0;
        for (const QString& line : lines) widest = std::max(widest, metrics.horizontalAdvance(line));
        extent = QSize(widest, metrics.height() * static_cast<int>(lines.size()));
    }
    // Outline fonts have no overhang to add.
    int margin = GetMargin();
    extent += QSize(4 * margin, 2 * margin);
    const LogFont* logFont = GetFont();
    if (logFont && (logFont->escapement == 900 || logFont->escapement == -900)) {
        extent = QSize(extent.height(), extent.width() + 4 * margin);
    }
    return extent;
}

QSize CGridCellBase::GetCellExtent(QPainter* painter) const { return GetTextExtent(GetText(), painter); }

bool CGridCellBase::OnSetCursor(QWidget* window) {
    window->setCursor(Qt::ArrowCursor);
    return true;
}
