#include "sorted_combo.h"

#include <QComboBox>

int AddSorted(QComboBox& combo, const QString& text) {
    // The entries are already in order: the first one after the new text.
    int lower = 0;
    int upper = combo.count();
    while (lower < upper) {
        int middle = (lower + upper) / 2;
        if (QString::compare(combo.itemText(middle), text, Qt::CaseInsensitive) <= 0) {
            lower = middle + 1;
        } else {
            upper = middle;
        }
    }
    combo.insertItem(lower, text);
    return lower;
}
