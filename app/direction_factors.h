#pragma once

#include <optional>

// The three direction factors of a bus in a continuation's load increase:
// kPg for active generation, kPl for active load, kQl for reactive load.
struct DirectionFactors {
    double generation = 0.0;
    double activeLoad = 0.0;
    double reactiveLoad = 0.0;
};

// What an edit dialog hands back: the value typed into each factor's field,
// or nothing where the field was left as shown, so that the caller keeps
// the exact value behind the rounded text it showed.
struct TypedFactors {
    std::optional<double> generation;
    std::optional<double> activeLoad;
    std::optional<double> reactiveLoad;
};
