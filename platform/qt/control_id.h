#pragma once

#include <QString>
#include <QWidget>

// Controls are known by their numeric ids, as the dialogs' tables list
// them; the id lives in the object name "idc_<id>".
inline QString ControlName(int id) { return QStringLiteral("idc_%1").arg(id); }

inline void SetControlId(QWidget& control, int id) { control.setObjectName(ControlName(id)); }

// The control of that id and kind among the parent's descendants, or null.
template <typename Control>
Control* FindControl(const QWidget& parent, int id) {
    return parent.findChild<Control*>(ControlName(id));
}
