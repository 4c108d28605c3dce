#pragma once

#include <stdexcept>
#include <string>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

#include "control_id.h"

// Plays the user on a dialog that is set up but not shown: types into its
// fields and clicks its checks by control id.
inline QLineEdit& Field(QWidget& dialog, int id) {
    auto* field = FindControl<QLineEdit>(dialog, id);
    if (field == nullptr) throw std::logic_error("no field " + std::to_string(id));
    return *field;
}
inline QCheckBox& Check(QWidget& dialog, int id) {
    auto* check = FindControl<QCheckBox>(dialog, id);
    if (check == nullptr) throw std::logic_error("no check " + std::to_string(id));
    return *check;
}
inline QComboBox& Combo(QWidget& dialog, int id) {
    auto* combo = FindControl<QComboBox>(dialog, id);
    if (combo == nullptr) throw std::logic_error("no list " + std::to_string(id));
    return *combo;
}
inline void Type(QWidget& dialog, int id, const char* text) { Field(dialog, id).setText(QString::fromLatin1(text)); }
