#pragma once

#include <QComboBox>

#include "combo_items.h"

// A drop-down list whose entries carry database IDs, filled by
// CADORecordset::FillComboBox. Its texts are Windows-1250 bytes, shown in
// Unicode. As a Windows list, adding entries selects none of them.
class CDBCombo : public QComboBox, public IComboItems {
public:
    explicit CDBCombo(QWidget* parent = nullptr) : QComboBox(parent) {}

    // Selects the first entry carrying the ID; false when none does.
    bool SelectByItemData(int id);
    // False when the list is empty or nothing is selected.
    bool GetSelectedItemData(int& id) const;

    // IComboItems
    void ResetContent() override { clear(); }
    int AddString(std::string_view text) override;
    void SetItemData(int index, int data) override { setItemData(index, data); }
};
