#include "db_combo.h"

#include "windows_1250.h"

bool CDBCombo::SelectByItemData(int id) {
    const int index = findData(id);
    if (index < 0) return false;
    setCurrentIndex(index);
    return true;
}

bool CDBCombo::GetSelectedItemData(int& id) const {
    if (currentIndex() < 0) return false;
    id = currentData().toInt();
    return true;
}

int CDBCombo::AddString(std::string_view text) {
    const int selected = currentIndex();
    addItem(FromWindows1250(text));
    setCurrentIndex(selected);  // Qt would select the first entry added
    return count() - 1;
}
