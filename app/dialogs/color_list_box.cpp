#include "color_list_box.h"

#include <QEvent>

#include "color_list_delegate.h"

ColorListBox::ColorListBox(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new ColorListDelegate(*this));
    setUniformItemSizes(true);
}

int ColorListBox::InsertItem(const QString& text, int index, const ColorListItem& item) {
    if (index < 0 || index > count()) return -1;
    auto* entry = new QListWidgetItem(text);
    entry->setData(Qt::UserRole, QVariant::fromValue(item));
    insertItem(index, entry);
    return index;
}

int ColorListBox::AddItem(const QString& text, const ColorListItem& item) { return InsertItem(text, count(), item); }

bool ColorListBox::SetItemTextColor(ColorRef color, int index) {
    if (index == -1) index = currentRow();
    QListWidgetItem* entry = item(index);
    if (index < 0 || entry == nullptr) return false;
    ColorListItem record = ItemRecord(index);
    record.textColor = color;
    entry->setData(Qt::UserRole, QVariant::fromValue(record));
    return true;
}

ColorListItem ColorListBox::ItemRecord(int index) const {
    const QListWidgetItem* entry = item(index);
    return entry == nullptr ? ColorListItem{} : entry->data(Qt::UserRole).value<ColorListItem>();
}

void ColorListBox::SetSwatchLayout(int margin, int /*unused*/, int bottomMargin, int rightEdge) {
    swatch_.topMargin = margin;
    swatch_.leftMargin = margin;
    swatch_.bottomMargin = bottomMargin;
    swatch_.rightEdge = rightEdge;
    viewport()->update();
}

void ColorListBox::SetSwatchGap(int gap) {
    swatch_.gap = gap;
    viewport()->update();
}

void ColorListBox::SetFixedItemHeight(int height) {
    fixedItemHeight_ = height;
    doItemsLayout();
}

void ColorListBox::changeEvent(QEvent* event) {
    QListWidget::changeEvent(event);
    // Items in the system colours follow a change of them at once.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) viewport()->update();
}
