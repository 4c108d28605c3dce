#pragma once

#include <cmath>

// Where one unknown of the network lives in the model, and in which form
// its Jacobian column holds it: the value itself, a multiple of it (a
// converter's ratio a = tap nr), or the cosine of an angle (a converter's
// firing and extinction angles). A continuation reads its state through
// these, so that a step and the state it reads agree in their units.
struct StateField {
    double* value = nullptr;
    double scale = 1.0;
    bool cosine = false;

    StateField() = default;
    // Implicit: most unknowns are a field of the model as it stands.
    StateField(double* field) : value(field) {}
    StateField(double* field, double factor) : value(field), scale(factor) {}
    static StateField Cosine(double* angle) {
        StateField field(angle);
        field.cosine = true;
        return field;
    }

    double Read() const { return cosine ? std::cos(*value) : *value * scale; }
};
