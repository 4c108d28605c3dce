#pragma once

// A calendar date and time of day as the user's clock gives it (local time),
// with the original platform's range of years 100 to 9999. Whoever reads a
// part of a date that does not name a real moment in that range gets -1.
struct DateTime {
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;    // 1 to the month's length
    int hour = 0;
    int minute = 0;
    int second = 0;

    // The current local date and time.
    static DateTime Now();

    bool IsValid() const;
    int Year() const { return IsValid() ? year : -1; }
    int Month() const { return IsValid() ? month : -1; }
    int Day() const { return IsValid() ? day : -1; }
};
