#pragma once

#include <string_view>

// The items of a combo box as CADORecordset::FillComboBox fills them: a text
// per row, each able to carry a database ID. The pointer is borrowed.
class IComboItems {
public:
    virtual void ResetContent() = 0;
    // Answers the new item's index.
    virtual int AddString(std::string_view text) = 0;
    virtual void SetItemData(int index, int data) = 0;

protected:
    ~IComboItems() = default;
};
