#pragma once

#include <clocale>
#include <cstring>
#include <string>

// Switches LC_NUMERIC to a decimal-comma locale for the length of a test, as
// a Qt host does with the user's locale, and restores the previous one after.
// Active() is false when the machine has no such locale.
class DecimalCommaLocale {
public:
    DecimalCommaLocale() {
        const char* current = std::setlocale(LC_NUMERIC, nullptr);
        previous_ = current ? current : "C";
        bool set = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "de_DE.utf8");
        active_ = set && std::strcmp(std::localeconv()->decimal_point, ",") == 0;
    }
    ~DecimalCommaLocale() { std::setlocale(LC_NUMERIC, previous_.c_str()); }
    DecimalCommaLocale(const DecimalCommaLocale&) = delete;
    DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;

    bool Active() const { return active_; }

private:
    std::string previous_;
    bool active_ = false;
};
