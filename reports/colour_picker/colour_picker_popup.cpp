#include "colour_picker_popup.h"

#include <algorithm>

#include <QApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>

#include "colour_table.h"
#include "prompt_service.h"
#include "qt_colors.h"
#include "qt_edges.h"
#include "windows_metrics.h"

namespace {

constexpr int kMargin = kEdgeWidth;
constexpr int kRows = (kPickerColourCount + kPickerColumns - 1) / kPickerColumns;

bool IsCell(int item) { return item >= 0 && item < kPickerColourCount; }

// The item shown as chosen when the popup opens on `colour`.
int ItemOfColour(ColorRef colour, bool hasDefault, bool hasCustom) {
    if (colour == kAutomaticColor && hasDefault) return kDefaultBox;
    const int cell = PickerColourIndex(colour);
    if (cell >= 0) return cell;
    return hasCustom ? kCustomBox : kNoItem;
}

}  // namespace

CColourPickerPopup::CColourPickerPopup(QPoint position, ColorRef colour, QWidget* picker,
                                       const QString& defaultText, const QString& customText,
                                       PromptService& prompts)
    : QWidget(picker, Qt::Popup),
      picker_(picker),
      prompts_(prompts),
      defaultText_(defaultText),
      customText_(customText),
      initialColour_(colour),
      chosenColour_(colour) {
    setAttribute(Qt::WA_DeleteOnClose);
    // The picker's palette (a dialog may set its own) colours the popup too.
    setAttribute(Qt::WA_WindowPropagation);
    setMouseTracking(true);
    setFont(MessageFont());

    chosen_ = ItemOfColour(colour, !defaultText_.isEmpty(), !customText_.isEmpty());
    setGeometry(KeptOnScreen(LayOut(position)));
    qApp->installEventFilter(this);
    show();
}

// The sizes follow the message font: each box is as high as the taller of
// the two texts plus room for its edges, and the popup as wide as the wider
// text when the eight cells are narrower.
QRect CColourPickerPopup::LayOut(QPoint position) {
    const QFontMetrics metrics(font());
    QSize text;
    for (const QString& box : {defaultText_, customText_}) {
        if (!box.isEmpty()) text = text.expandedTo(metrics.size(Qt::TextSingleLine, box));
    }
    const int textWidth = text.width() + 2 * kMargin;
    const int boxHeight = text.height() + 4 * kMargin + 2;

    int width = 2 * kMargin + kPickerColumns * kBoxSize;
    int height = kRows * kBoxSize + 2 * kMargin;
    cellsTop_ = kMargin;
    if (!defaultText_.isEmpty()) {
        width = std::max(width, textWidth);
        defaultBox_ = QRect(kMargin, kMargin, width - 2 * kMargin, boxHeight + kMargin);
        height += 2 * kMargin + defaultBox_.height();
        cellsTop_ += defaultBox_.height() + kMargin;
    }
    if (!customText_.isEmpty()) {
        width = std::max(width, textWidth);
        customBox_ = QRect(kMargin, height, width - 2 * kMargin, kMargin + boxHeight);
        height += 2 * kMargin + customBox_.height();
    }
    return QRect(position, QSize(width, height));
}

// Inside the usable part of the picker's screen; a popup that would pass
// the bottom opens above the picker instead of below it.
QRect CColourPickerPopup::KeptOnScreen(QRect geometry) const {
    const QRect screen = picker_->screen()->availableGeometry();
    if (geometry.right() > screen.right()) geometry.moveRight(screen.right());
    if (geometry.left() < screen.left()) geometry.moveLeft(screen.left());
    if (geometry.bottom() > screen.bottom()) geometry.translate(0, -geometry.height() - picker_->height());
    return geometry;
}

QRect CColourPickerPopup::itemRect(int item) const {
    if (item == kDefaultBox) return defaultBox_;
    if (item == kCustomBox) return customBox_;
    if (!IsCell(item)) return {};
    const QPoint topLeft(item % kPickerColumns * kBoxSize + kMargin, item / kPickerColumns * kBoxSize + cellsTop_);
    return QRect(topLeft, QSize(kBoxSize, kBoxSize));
}

// The same rectangles as are painted, so that every pixel of a cell
// chooses that cell.
int CColourPickerPopup::ItemAt(QPoint point) const {
    if (customBox_.contains(point)) return kCustomBox;
    if (defaultBox_.contains(point)) return kDefaultBox;
    const int x = point.x() - kMargin;
    const int y = point.y() - cellsTop_;
    if (x < 0 || y < 0) return kNoItem;
    const int column = x / kBoxSize;
    const int cell = y / kBoxSize * kPickerColumns + column;
    return column < kPickerColumns && cell < kPickerColourCount ? cell : kNoItem;
}

void CColourPickerPopup::ChangeHot(int item) {
    const int old = hot_;
    hot_ = item;
    update(itemRect(old));
    update(itemRect(item));
    if (item == kCustomBox) {
        emit selChange(initialColour_);
        return;
    }
    chosenColour_ = item == kDefaultBox ? kAutomaticColor : kPickerColours[item].colour;
    emit selChange(chosenColour_);
}

void CColourPickerPopup::End(Ending ending) {
    Finish(ending);
    close();
}

// Tells the picker how the choice ended, once, however the popup goes.
void CColourPickerPopup::Finish(Ending ending) {
    if (finished_) return;
    finished_ = true;
    qApp->removeEventFilter(this);
    if (ending == Ending::Ok && hot_ == kCustomBox) {
        // The colour dialog must not open under a popup that holds the mouse.
        hide();
        if (std::optional<ColorRef> colour = prompts_.ChooseColor(initialColour_)) {
            chosenColour_ = *colour;
        } else {
            ending = Ending::Cancel;
        }
    }
    if (ending == Ending::Cancel) {
        emit selEndCancel(initialColour_);
    } else {
        emit selEndOk(chosenColour_);
    }
}

void CColourPickerPopup::mouseMoveEvent(QMouseEvent* event) {
    const int item = ItemAt(event->position().toPoint());
    if (item != kNoItem && item != hot_) ChangeHot(item);
}

// A press outside ends the choice (Qt closes the popup) and is not passed
// on to the window under it, as with a mouse capture: a press on the picker
// would otherwise open the palette again at once.
void CColourPickerPopup::mousePressEvent(QMouseEvent* event) {
    if (!rect().contains(event->position().toPoint())) setAttribute(Qt::WA_NoMouseReplay);
    QWidget::mousePressEvent(event);
}

void CColourPickerPopup::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    End(rect().contains(event->position().toPoint()) ? Ending::Ok : Ending::Cancel);
}

void CColourPickerPopup::keyPressEvent(QKeyEvent* event) {
    const PopupBoxes boxes{!defaultText_.isEmpty(), !customText_.isEmpty()};
    auto move = [&](PopupMove direction) { ChangeHot(NextPopupItem(hot_, direction, boxes)); };
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            End(Ending::Ok);
            return;
        case Qt::Key_Escape:
            End(Ending::Cancel);
            return;
        case Qt::Key_Left:
            return move(PopupMove::Left);
        case Qt::Key_Up:
            return move(PopupMove::Up);
        case Qt::Key_Right:
            return move(PopupMove::Right);
        case Qt::Key_Down:
            return move(PopupMove::Down);
        default:
            QWidget::keyPressEvent(event);
    }
}

// Qt closes a popup itself at a press outside it; that is a cancel.
void CColourPickerPopup::closeEvent(QCloseEvent* event) {
    Finish(Ending::Cancel);
    QWidget::closeEvent(event);
}

void CColourPickerPopup::hideEvent(QHideEvent* event) {
    if (!finished_) {
        Finish(Ending::Cancel);
        deleteLater();
    }
    QWidget::hideEvent(event);
}

bool CColourPickerPopup::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ApplicationDeactivate && !finished_) End(Ending::Cancel);
    return QWidget::eventFilter(watched, event);
}

bool CColourPickerPopup::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const int item = ItemAt(help->pos());
    if (IsCell(item)) {
        const std::string_view name = kPickerColours[item].name;
        QToolTip::showText(help->globalPos(), QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())),
                           this, itemRect(item));
    } else {
        QToolTip::hideText();
        event->ignore();
    }
    return true;
}

QColor CColourPickerPopup::SystemColour(SystemColor color) const { return SystemQColor(color, palette()); }

void CColourPickerPopup::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), SystemColour(SystemColor::ButtonFace));
    if (!defaultText_.isEmpty()) PaintBox(painter, kDefaultBox);
    for (int cell = 0; cell < kPickerColourCount; ++cell) PaintCell(painter, cell);
    if (!customText_.isEmpty()) PaintBox(painter, kCustomBox);
    DrawEdge(painter, rect(), kEdgeRaised, palette());
}

// The hot item looks raised; the item chosen at opening looks pressed in,
// on a lighter ground while the mouse is elsewhere.
void CColourPickerPopup::PaintCell(QPainter& painter, int cell) const {
    const QRect box = itemRect(cell);
    const bool hot = cell == hot_;
    const bool chosen = cell == chosen_;
    painter.fillRect(box, SystemColour(chosen && !hot ? SystemColor::ButtonHighlight : SystemColor::ButtonFace));
    if (hot) {
        DrawEdge(painter, box, kRaisedInner, palette());
    } else if (chosen) {
        DrawEdge(painter, box, kSunkenOuter, palette());
    }
    const QRect swatch = box.adjusted(kMargin + 1, kMargin + 1, -kMargin - 1, -kMargin - 1);
    painter.fillRect(swatch, ToQColor(kPickerColours[cell].colour));
    painter.setPen(SystemColour(SystemColor::ButtonShadow));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}

void CColourPickerPopup::PaintBox(QPainter& painter, int item) const {
    QRect box = itemRect(item);
    painter.fillRect(box, SystemColour(SystemColor::ButtonFace));
    if (item == kCustomBox) {
        // A sunken rule over the box, as wide as the box less its margins;
        // the box itself starts under it.
        const int left = box.left() + 2 * kMargin;
        const int width = box.width() - 4 * kMargin;
        painter.fillRect(QRect(left, box.top(), width, 1), SystemColour(SystemColor::ButtonShadow));
        painter.fillRect(QRect(left, box.top() + 1, width, 1), SystemColour(SystemColor::ButtonHighlight));
        box.setTop(box.top() + kMargin);
    }
    const bool hot = item == hot_;
    const bool chosen = item == chosen_;
    const SystemColor ground = chosen && !hot ? SystemColor::Light3D : SystemColor::ButtonFace;
    painter.fillRect(box.adjusted(1, 1, -1, -1), SystemColour(ground));
    if (item == kDefaultBox) {
        painter.setPen(SystemColour(SystemColor::ButtonShadow));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box.adjusted(2 * kMargin, 2 * kMargin, -2 * kMargin - 1, -2 * kMargin - 1));
    }
    if (hot) {
        DrawEdge(painter, box, kRaisedInner, palette());
    } else if (chosen) {
        DrawEdge(painter, box, kSunkenOuter, palette());
    }
    painter.setPen(SystemColour(SystemColor::ButtonText));
    painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, item == kDefaultBox ? defaultText_ : customText_);
}
