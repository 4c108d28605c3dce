#include "colour_picker.h"

#include <algorithm>

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>

#include "colour_picker_popup.h"
#include "qt_colors.h"
#include "qt_edges.h"
#include "windows_metrics.h"

namespace {

// The drop-down arrow is a square as wide as a scroll-bar arrow; the button
// is exactly that high plus its sunken edge.
constexpr int kArrowSize = std::max(5 * kEdgeWidth, kThumbWidth);
constexpr int kPickerHeight = kArrowSize + 2 * kEdgeWidth;
constexpr int kPickerMinimumWidth = 2 * (kEdgeWidth + kArrowSize);

constexpr int kTextColourMode = 1;

}  // namespace

CColourPicker::CColourPicker(PromptService& prompts, QWidget* parent)
    : QPushButton(parent),
      prompts_(prompts),
      backgroundColour_(GetSysColor(SystemColor::ButtonFace)),
      textColour_(GetSysColor(SystemColor::ButtonText)),
      defaultText_("Automatic"),
      customText_("More Colours...") {
    setMinimumWidth(kPickerMinimumWidth);
    setFixedHeight(kPickerHeight);
    resize(std::max(width(), kPickerMinimumWidth), kPickerHeight);
    connect(this, &QPushButton::clicked, this, &CColourPicker::DropDown);
}

QSize CColourPicker::sizeHint() const {
    return QSize(std::max(QPushButton::sizeHint().width(), kPickerMinimumWidth), kPickerHeight);
}

QSize CColourPicker::minimumSizeHint() const { return QSize(kPickerMinimumWidth, kPickerHeight); }

ColorRef CColourPicker::colour() const {
    return selectionMode_ == kTextColourMode ? textColour_ : backgroundColour_;
}

void CColourPicker::setColour(ColorRef colour) {
    (selectionMode_ == kTextColourMode ? textColour_ : backgroundColour_) = colour;
    update();
}

void CColourPicker::setSelectionMode(int mode) { selectionMode_ = mode; }

// The picker is dropped for exactly as long as its popup is open.
void CColourPicker::DropDown() {
    if (popup_) return;
    colourAtDropDown_ = colour();
    popup_ = new CColourPickerPopup(mapToGlobal(QPoint(0, height())), colourAtDropDown_, this, defaultText_,
                                    customText_, prompts_);
    connect(popup_, &CColourPickerPopup::selChange, this, &CColourPicker::OnPopupSelChange);
    connect(popup_, &CColourPickerPopup::selEndOk, this, &CColourPicker::OnPopupSelEndOk);
    connect(popup_, &CColourPickerPopup::selEndCancel, this, &CColourPicker::OnPopupSelEndCancel);
    dropped_ = true;
    update();
    emit pickerDropDown(colourAtDropDown_, controlId_);
}

void CColourPicker::OnPopupSelChange(ColorRef colour) {
    if (trackSelection_) setColour(colour);
    emit pickerSelChange(colour, controlId_);
}

// A colour seen while tracking the mouse is not a change: the choice is
// compared with the colour the picker held when it dropped down.
void CColourPicker::OnPopupSelEndOk(ColorRef colour) {
    CloseUp(colour);
    emit pickerSelEndOk(colour, controlId_);
    if (colour != colourAtDropDown_) emit pickerSelChange(colour, controlId_);
}

void CColourPicker::OnPopupSelEndCancel(ColorRef colour) {
    CloseUp(colour);
    emit pickerSelEndCancel(colour, controlId_);
}

void CColourPicker::CloseUp(ColorRef colour) {
    dropped_ = false;
    popup_ = nullptr;
    setColour(colour);
    emit pickerCloseUp(colour, controlId_);
}

QRect CColourPicker::ArrowRect() const {
    return QRect(width() - kArrowSize - kEdgeWidth, kEdgeWidth, kArrowSize, height() - 2 * kEdgeWidth);
}

void CColourPicker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& colours = palette();
    const bool enabled = isEnabled();
    const bool pressed = dropped_ || isDown();

    QStyleOptionButton arrow;
    arrow.initFrom(this);
    arrow.rect = ArrowRect();
    arrow.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
    arrow.state |= pressed ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &arrow, &painter, this);
    arrow.rect = arrow.rect.adjusted(3, 3, -3, -3).translated(pressed ? QPoint(1, 1) : QPoint());
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &painter, this);

    DrawEdge(painter, rect(), kEdgeSunken, colours);
    const QRect area = rect().adjusted(kEdgeWidth, kEdgeWidth, -kEdgeWidth - kArrowSize, -kEdgeWidth);
    const bool faceColoured = !enabled || backgroundColour_ == kAutomaticColor;
    painter.fillRect(area, faceColoured ? SystemQColor(SystemColor::ButtonFace, colours) : ToQColor(backgroundColour_));
    PaintText(painter, area);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = area.adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

// A disabled button's text is embossed: a light copy one pixel down and
// right under the shadow-coloured text.
void CColourPicker::PaintText(QPainter& painter, const QRect& area) const {
    if (text().isEmpty()) return;
    const int flags = Qt::AlignCenter | Qt::TextSingleLine;
    if (!isEnabled()) {
        painter.setPen(SystemQColor(SystemColor::ButtonHighlight, palette()));
        painter.drawText(area.translated(1, 1), flags, text());
        painter.setPen(SystemQColor(SystemColor::ButtonShadow, palette()));
    } else {
        painter.setPen(textColour_ == kAutomaticColor ? QColor(Qt::black) : ToQColor(textColour_));
    }
    painter.drawText(area, flags, text());
}
