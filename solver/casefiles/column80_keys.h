#pragma once

#include <string>
#include <string_view>

// What the column-80 deck and its operating-point file share: the bus keys
// with their voltage levels, the names the buses take, and the transformer
// taps given in kV of a winding.

inline constexpr int kLevelCount = 10;

// The nominal, lowest and highest voltage (kV) of each level, 0 until the
// deck gives them. A key's level is its fifth character; level digit 0
// stands for level 10.
struct VoltageLevels {
    double nominal[kLevelCount] = {};
    double minimum[kLevelCount] = {};
    double maximum[kLevelCount] = {};

    double Nominal(std::string_view key) const { return nominal[Index(key)]; }
    double Minimum(std::string_view key) const { return minimum[Index(key)]; }
    double Maximum(std::string_view key) const { return maximum[Index(key)]; }

private:
    static int Index(std::string_view key) {
        const char digit = key.size() >= 5 ? key[4] : '0';
        return digit >= '1' && digit <= '9' ? digit - '1' : kLevelCount - 1;
    }
};

// A bus's name: its key and its base kV ("%5s %6.0f").
std::string Column80BusName(std::string_view key, double baseKv);

// The ratio of a transformer whose lower-voltage winding (its from end) is
// tapped at `tapKv` on a bus of `windingKv`: the from end's voltage is
// multiplied by it. A tap of 0 or less is the nominal tap.
double TapOfWinding(double tapKv, double windingKv);
