// How a cell draws itself on the screen and on paper. Rectangles arrive with
// the cell's last pixels as right and bottom edges; the fills cover them
// ("one pixel larger to the right and below"), the text box does not.

#include <utility>

#include <QPainter>
#include <QPaintDevice>

#include "grid_cell_base.h"
#include "grid_ctrl.h"
#include "grid_default_cell.h"
#include "grid_text_format.h"
#include "qt_colors.h"

namespace {

// Saves the painter's state on entry and restores it on every exit.
class PainterState {
public:
    explicit PainterState(QPainter& painter) : painter_(painter) { painter_.save(); }
    ~PainterState() { painter_.restore(); }
    PainterState(const PainterState&) = delete;
    PainterState& operator=(const PainterState&) = delete;

private:
    QPainter& painter_;
};

bool IsPrinting(const QPainter& painter) {
    return painter.device() && painter.device()->devType() == QInternal::Printer;
}

bool IsTwoColour(const QPainter& painter) { return painter.device() && painter.device()->colorCount() == 2; }

void FillCell(QPainter& painter, const Rect& rect, const QColor& colour) {
    painter.fillRect(PixelsOf(rect, Edges::Included), colour);
}

// A one-pixel line that leaves out its last pixel, as the original line
// drawing did; only horizontal and vertical lines occur here.
void Line(QPainter& painter, QPoint from, QPoint to, const QColor& colour) {
    if (from == to) return;
    QPoint last = to;
    if (from.x() == to.x()) {
        last.ry() += from.y() < to.y() ? -1 : 1;
    } else {
        last.rx() += from.x() < to.x() ? -1 : 1;
    }
    painter.fillRect(QRect(from, last).normalized(), colour);
}

// A one-pixel frame on the outermost pixels of [left, right) x [top, bottom).
void Frame(QPainter& painter, const Rect& r, const QColor& colour) {
    if (r.IsEmpty()) return;
    QRect box = PixelsOf(r);
    painter.fillRect(QRect(box.left(), box.top(), box.width(), 1), colour);
    painter.fillRect(QRect(box.left(), box.bottom(), box.width(), 1), colour);
    painter.fillRect(QRect(box.left(), box.top(), 1, box.height()), colour);
    painter.fillRect(QRect(box.right(), box.top(), 1, box.height()), colour);
}

// The inner sunken edge over [left, right) x [top, bottom): dark along the
// top and left, light along the bottom and right.
void SunkenInnerEdge(QPainter& painter, const Rect& r) {
    if (r.IsEmpty()) return;
    QRect box = PixelsOf(r);
    QColor light = SystemQColor(SystemColor::Light3D);
    QColor dark = SystemQColor(SystemColor::DarkShadow3D);
    painter.fillRect(QRect(box.left(), box.bottom(), box.width(), 1), light);
    painter.fillRect(QRect(box.right(), box.top(), 1, box.height()), light);
    painter.fillRect(QRect(box.left(), box.top(), box.width() - 1, 1), dark);
    painter.fillRect(QRect(box.left(), box.top(), 1, box.height() - 1), dark);
}

Rect Deflated(Rect r, int left, int top, int right, int bottom) {
    r.left += left;
    r.top += top;
    r.right -= right;
    r.bottom -= bottom;
    return r;
}

int Escapement(const LogFont* font) { return font ? font->escapement : 0; }

}  // namespace

ColorRef CGridCellBase::ResolvedTextColour(const CGridDefaultCell& def) const {
    ColorRef own = GetTextColour();
    return own == kAutomaticColor ? def.GetTextColour() : own;
}

void CGridCellBase::DrawRaisedEdge(QPainter& painter, const Rect& r) const {
    QColor light = SystemQColor(SystemColor::ButtonHighlight);
    QColor dark = SystemQColor(SystemColor::DarkShadow3D);
    Line(painter, {r.right, r.top}, {r.left, r.top}, light);
    Line(painter, {r.left, r.top}, {r.left, r.bottom}, light);
    Line(painter, {r.right, r.top}, {r.right, r.bottom}, dark);
    Line(painter, {r.right, r.bottom}, {r.left, r.bottom}, dark);
}

void CGridCellBase::DrawSortArrow(QPainter& painter, Rect& rect, bool ascending) const {
    QFontMetrics metrics(painter.font(), painter.device());
    int size = metrics.height() - 4;
    if (size >= rect.Height()) size = rect.Height() - 4;
    int margin = GetMargin();
    if (size <= 0 || rect.left + size >= rect.right + 2 * margin) return;
    bool vertical = Escapement(GetFont()) == 900;
    int x = rect.right - size;
    if (vertical) x = (x + rect.left) / 2;
    int baseY = rect.bottom - 2;
    int tipY = rect.bottom - size - 2;
    if (!ascending) std::swap(baseY, tipY);
    QPoint tip(x + size / 2, tipY);
    QPoint baseLeft(x, baseY);
    QPoint baseRight(x + size, baseY);
    QColor shadow = SystemQColor(SystemColor::ButtonShadow);
    QColor light = SystemQColor(SystemColor::ButtonHighlight);
    // Each edge twice, a pixel apart: lit from the top left, shaded below.
    painter.setPen(shadow);
    painter.drawLine(baseLeft, tip);
    painter.drawLine(baseLeft + QPoint(1, 0), tip + QPoint(1, 0));
    painter.setPen(light);
    painter.drawLine(tip, baseRight);
    painter.drawLine(tip + QPoint(1, 0), baseRight + QPoint(1, 0));
    painter.setPen(ascending ? light : shadow);
    painter.drawLine(baseLeft, baseRight);
    painter.drawLine(baseLeft + QPoint(0, 1), baseRight + QPoint(0, 1));
    if (!vertical) rect.right -= size;
}

void CGridCellBase::DrawTextIn(QPainter& painter, Rect rect) const {
    GetTextRect(&rect);
    DrawFormattedText(painter, GetText(), rect, GetFormat() | TextFormat::NoPrefix, Escapement(GetFont()));
}

bool CGridCellBase::Draw(QPainter* painter, int row, int col, Rect rect, bool erase) {
    CGridCtrl* grid = GetGrid();
    if (!grid || !painter || rect.Width() <= 0 || rect.Height() <= 0) return false;
    PainterState saved(*painter);
    painter->setBackgroundMode(Qt::TransparentMode);
    const CGridDefaultCell* def = GetDefaultCell();
    if (!def) return false;

    QColor text = ToQColor(ResolvedTextColour(*def));
    QColor back;
    if (GetBackColour() != kAutomaticColor) {
        back = ToQColor(GetBackColour());
        erase = true;
    } else {
        back = ToQColor(def->GetBackColour());
    }

    if (IsFocused() || IsDropHighlighted()) {
        if (IsSelected()) {
            back = SystemQColor(SystemColor::Highlight);
            text = SystemQColor(SystemColor::HighlightText);
            FillCell(*painter, rect, back);
        } else if (erase) {
            FillCell(*painter, rect, back);
        }
        if (grid->GetFrameFocusCell()) {
            Rect frame = rect;
            if (grid->GetGridLines() == GridLines::None) {
                ++frame.right;
                ++frame.bottom;
            }
            Frame(*painter, frame, text);
        }
        rect = Deflated(rect, 0, 1, 1, 1);
    } else if (IsSelected()) {
        FillCell(*painter, rect, SystemQColor(SystemColor::Highlight));
        text = SystemQColor(SystemColor::HighlightText);
    } else if (erase) {
        FillCell(*painter, rect, back);
    }
    painter->setPen(text);

    if (IsFixed() && grid->GetGridLines() != GridLines::None) {
        CCellID focus = grid->GetFocusCell();
        if (grid->GetTrackFocusCell() && focus.IsValid() && (focus.row == row || focus.col == col)) {
            SunkenInnerEdge(*painter, Deflated(rect, 0, 0, -1, -1));
        } else {
            DrawRaisedEdge(*painter, rect);
        }
        rect = Deflated(rect, 1, 1, 1, 1);
        painter->setPen(text);
    }

    if (!IsPrinting(*painter)) painter->setFont(GetFontObject());
    int margin = GetMargin();
    rect = Deflated(rect, margin, 0, margin, 0);

    if (row == 0 && col == grid->GetSortColumn()) {
        DrawSortArrow(*painter, rect, grid->GetSortAscending());
        painter->setPen(text);
    }

    DrawTextIn(*painter, rect);
    return true;
}

bool CGridCellBase::PrintCell(QPainter* painter, int /*row*/, int /*col*/, Rect rect) {
    CGridCtrl* grid = GetGrid();
    if (!grid || !painter || rect.Width() <= 0 || rect.Height() <= 0) return false;
    PainterState saved(*painter);
    painter->setBackgroundMode(Qt::TransparentMode);
    const CGridDefaultCell* def = GetDefaultCell();
    if (!def) return false;

    QColor text = Qt::black;
    if (grid->GetPrintColour()) {
        ColorRef own = GetBackColour();
        ColorRef back = kAutomaticColor;
        if (IsFixed()) {
            back = own != kAutomaticColor ? own : def->GetBackColour();
        } else if (own != kAutomaticColor && own != def->GetBackColour()) {
            back = own;
        }
        ColorRef textColour = ResolvedTextColour(*def);
        if (back == kAutomaticColor && IsTwoColour(*painter)) {
            // Paper that takes only black: colours print by their weight in
            // a grey scale, so that light text does not vanish.
            textColour = Rgb(static_cast<std::uint8_t>(RedOf(textColour) * 0.30),
                             static_cast<std::uint8_t>(GreenOf(textColour) * 0.59),
                             static_cast<std::uint8_t>(BlueOf(textColour) * 0.11));
        }
        text = ToQColor(textColour);
        if (back != kAutomaticColor) FillCell(*painter, rect, ToQColor(back));
    }

    if (IsFixed() && grid->GetGridLines() != GridLines::None) {
        DrawRaisedEdge(*painter, rect);
        rect = Deflated(rect, 1, 1, 1, 1);
    }
    painter->setFont(GetFontObject());
    painter->setPen(text);
    int margin = GetMargin();
    rect = Deflated(rect, margin, 0, margin, 0);
    DrawTextIn(*painter, rect);
    return true;
}
