#include "grid_cell.h"

#include "grid_ctrl.h"
#include "grid_default_cell.h"
#include "grid_text_format.h"
#include "qt_font.h"

CGridCell::CGridCell() { Reset(); }

CGridCell::~CGridCell() {
    if (editWnd_) editWnd_->Detach();
}

CGridCell& CGridCell::operator=(const CGridCell& other) {
    CGridCellBase::operator=(other);
    return *this;
}

void CGridCell::SetFont(const LogFont* font) {
    if (font) {
        font_ = *font;
    } else {
        font_.reset();
    }
}

const CGridDefaultCell* CGridCell::Fallback() const {
    const CGridDefaultCell* def = GetDefaultCell();
    return def == this ? nullptr : def;
}

unsigned CGridCell::GetFormat() const {
    if (format_ != kDefaultCellFormat) return format_;
    const CGridDefaultCell* def = Fallback();
    return def ? def->GetFormat() : CGridDefaultCell::kFormat;
}

const LogFont* CGridCell::GetFont() const {
    if (font_) return &*font_;
    const CGridDefaultCell* def = Fallback();
    return def ? def->GetFont() : nullptr;
}

QFont CGridCell::GetFontObject() const {
    if (font_) return ToQFont(*font_);
    const CGridDefaultCell* def = Fallback();
    return def ? def->GetFontObject() : QFont();
}

int CGridCell::GetMargin() const {
    if (margin_ != kDefaultCellMargin) return margin_;
    const CGridDefaultCell* def = Fallback();
    return def ? def->GetMargin() : 0;
}

void CGridCell::Reset() {
    CGridCellBase::Reset();
    text_.clear();
    image_ = -1;
    format_ = kDefaultCellFormat;
    margin_ = kDefaultCellMargin;
    grid_ = nullptr;
    textColour_ = kAutomaticColor;
    backColour_ = kAutomaticColor;
    font_.reset();
    if (editWnd_) editWnd_->Detach();
    editing_ = false;
    editWnd_ = nullptr;
}

bool CGridCell::Edit(int row, int col, Rect rect, QPoint /*point*/, unsigned key) {
    if (editing_) {
        if (editWnd_) editWnd_->TypeKey(key);
        return true;
    }
    if (!grid_) return false;
    unsigned format = GetFormat();
    Qt::Alignment alignment = Qt::AlignLeft;
    if (format & TextFormat::Right) {
        alignment = Qt::AlignRight;
    } else if (format & TextFormat::Center) {
        alignment = Qt::AlignHCenter;
    }
    editing_ = true;
    editWnd_ = new CInPlaceEdit(grid_, rect, alignment, row, col, GetText(), key);
    return true;
}

void CGridCell::EndEdit() {
    if (editWnd_) editWnd_->EndEdit();
}

void CGridCell::OnEndEdit() {
    editing_ = false;
    editWnd_ = nullptr;
}
