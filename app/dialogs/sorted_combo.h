#pragma once

#include <QString>

class QComboBox;

// Adds an entry to a drop-down list kept in alphabetical order, ignoring
// case; an entry equal to some already there goes after them. Answers the
// entry's index.
int AddSorted(QComboBox& combo, const QString& text);
