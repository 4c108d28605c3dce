// What the grid does when its window is sized, or its font or palette
// changes.

#include <QEvent>
#include <QResizeEvent>

#include "grid_ctrl.h"
#include "qt_colors.h"
#include "qt_font.h"

namespace {

// One guard for all grids: a resize that a resize sets off is ignored.
bool sizing = false;

enum CachedColour { kWindowText = 0, kWindow = 1, kButtonFace = 2, kButtonShadow = 3 };

}  // namespace

void CGridCtrl::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    OnSize();
}

void CGridCtrl::OnSize() {
    if (sizing) return;
    sizing = true;
    // Succeeds on the first resize only.
    dropTarget_.Register(this);
    EndEditing();
    ResetScrollBars();
    sizing = false;
}

void CGridCtrl::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) OnSetFont();
    if (event->type() == QEvent::PaletteChange) OnSysColorChange();
}

void CGridCtrl::OnSetFont() {
    LogFont font;
    ApplyQFont(this->font(), font);
    for (auto& def : defaultCells_) def->SetFont(&font);
    Refresh();
}

void CGridCtrl::CacheSystemColours() {
    const QPalette& colours = palette();
    auto colour = [&](SystemColor color) { return ToColorRef(SystemQColor(color, colours)); };
    systemColours_ = {colour(SystemColor::WindowText), colour(SystemColor::Window), colour(SystemColor::ButtonFace),
                      colour(SystemColor::ButtonShadow)};
}

void CGridCtrl::OnSysColorChange() {
    std::array<ColorRef, 4> old = systemColours_;
    CacheSystemColours();
    for (auto& def : defaultCells_) {
        if (def->GetTextColour() == old[kWindowText]) def->SetTextColour(systemColours_[kWindowText]);
        if (def->GetBackColour() == old[kWindow]) def->SetBackColour(systemColours_[kWindow]);
    }
    if (surroundColour_ == old[kButtonShadow]) surroundColour_ = systemColours_[kButtonShadow];
    Refresh();
}
