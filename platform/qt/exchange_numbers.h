#pragma once

#include <optional>

#include <QString>

// How dialog fields show and read numbers: "%.15g" and "%d", in the C
// locale whatever the user's locale is, blanks around the number ignored.
QString FormatNumber(double value);
QString FormatInteger(int value);

// Nothing for a text that is not wholly one number, and for a value that
// is not finite ("nan", "inf"), which no field can hold.
std::optional<double> ParseNumber(const QString& text);
// Nothing for a text that is not wholly one integer or lies outside int.
std::optional<int> ParseInteger(const QString& text);
