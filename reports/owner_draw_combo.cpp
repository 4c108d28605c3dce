#include "owner_draw_combo.h"

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QStylePainter>

namespace {

constexpr int kItemPadding = 4;  // pixels added to the text's height

// Hands each list row to the combo's DrawItem.
class OwnerDrawDelegate final : public QStyledItemDelegate {
public:
    explicit OwnerDrawDelegate(OwnerDrawCombo& combo) : QStyledItemDelegate(&combo), combo_(combo) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        OwnerDrawItem item;
        item.rect = option.rect;
        item.index = index.isValid() ? index.row() : -1;
        item.selected = (option.state & QStyle::State_Selected) != 0;
        item.focused = (option.state & QStyle::State_HasFocus) != 0;
        item.disabled = (option.state & QStyle::State_Enabled) == 0;
        painter->save();
        combo_.DrawItem(*painter, item);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        QFontMetrics metrics(option.font);
        return {combo_.width(), metrics.height() + kItemPadding};
    }

private:
    OwnerDrawCombo& combo_;
};

}  // namespace

OwnerDrawColours::OwnerDrawColours(const QPalette& palette)
    : window(palette.color(QPalette::Active, QPalette::Base)),
      windowText(palette.color(QPalette::Active, QPalette::Text)),
      highlight(palette.color(QPalette::Active, QPalette::Highlight)),
      grayText(palette.color(QPalette::Disabled, QPalette::Text)) {}

QColor OwnerDrawColours::SelectedText() const { return QColor::fromRgb(~windowText.rgb() & 0xFFFFFFu); }

OwnerDrawCombo::OwnerDrawCombo(QWidget* parent) : QComboBox(parent) { setItemDelegate(new OwnerDrawDelegate(*this)); }

void OwnerDrawCombo::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);

    // The closed box shows its item selected while it has the focus.
    OwnerDrawItem item;
    item.rect = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    item.index = currentIndex();
    item.selected = hasFocus();
    item.focused = hasFocus();
    item.disabled = !isEnabled();
    DrawItem(painter, item);
}

void OwnerDrawCombo::DrawFocusRect(QPainter& painter, const QRect& rect, const QColor& color) {
    painter.save();
    painter.setPen(QPen(color, 0, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
}
