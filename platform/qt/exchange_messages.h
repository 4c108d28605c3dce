#pragma once

// What a dialog tells the user about a field it refuses; %1 and %2 are the
// bounds, as the field shows numbers.
namespace ExchangeMessage {
inline constexpr const char* NotANumber = "Please enter a number.";
inline constexpr const char* NotAnInteger = "Please enter an integer.";
inline constexpr const char* NumberOutOfRange = "Please enter a number between %1 and %2.";
inline constexpr const char* IntegerOutOfRange = "Please enter an integer between %1 and %2.";
inline constexpr const char* TooLong = "Please enter no more than %1 characters.";
}  // namespace ExchangeMessage
