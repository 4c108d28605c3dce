#pragma once

#include <span>
#include <vector>

#include "state_field.h"

struct NetBus;
struct RunSwitches;
class DeviceStep;
class DeviceTerms;
class Solver;

// A generator's machine model behind its bus: a salient-pole machine whose
// internal voltage E stands on the d-axis of its rotor, at angle delta.
// Its unknowns are base + 1 .. base + 11, in the order of the fields from
// `e` to `ia`. The bus's control letter says which quantity gives its
// column to the reactive generation: "V" the bus voltage, "I" the armature
// current (held at its limit, base + 11), "E" the internal voltage (held at
// a field limit, base + 1). Per unit on the MVA base, angles in radians.
struct NetGenerator {
    int base = 0;

    // The line of the generator-model file, as read.
    double resistance = 0.0;  // Ra
    double xd = 0.0;
    double xq = 0.0;
    double maxCurrent = 0.0;  // armature current limit
    double maxField = 0.0;    // limits of E
    double minField = 0.0;

    double e = 0.0;
    double delta = 0.0;
    double vr = 0.0;  // terminal voltage, real and imaginary parts
    double vi = 0.0;
    double ir = 0.0;  // current out of the machine, real and imaginary parts
    double ii = 0.0;
    double vd = 0.0;  // terminal voltage and current in the rotor frame
    double vq = 0.0;
    double id = 0.0;
    double iq = 0.0;
    double ia = 0.0;  // armature current magnitude

    // Unclamped E and Ia (or the reactive generation that holds their
    // column) over one Newton iteration.
    double fieldShadow = 0.0;
    double currentShadow = 0.0;
};

// "No limit" of the generator-model file.
constexpr double kNoMachineLimit = 9999999999.0;

// A bus's model from a line of the generator-model file: Ra, Xd, Xq, the
// armature current limit, the upper and lower field limits. Its unknowns
// start from the bus's present voltage and generation.
void InitGeneratorModel(NetBus& bus, std::span<const double, 6> line);

// How the bus's own rows tie into the model's: the column of the slack power
// that its active generation follows (0 none) and its share, and the column
// where its voltage-holding reactive generation stands (0 none) with the
// coefficient the bus's Q row has there.
struct GeneratorCoupling {
    int slackColumn = 0;
    double share = 0.0;
    int heldColumn = 0;
    double heldValue = 0.0;
};

// The model's eleven rows, and the columns of its held quantities in the
// bus's Q row.
void GeneratorModelEquations(const NetBus& bus, DeviceTerms& terms, const GeneratorCoupling& coupling);

// The second derivatives of those rows weighted by the solver's null
// vector, into the point-of-collapse system's block 2.
void GeneratorModelCurvature(Solver& solver, const NetBus& bus);

// Its part of a Newton step: E and Ia within their limits while they are
// unknowns (field and armature switches), else the reactive generation
// that took their column.
void StepGeneratorModel(NetBus& bus, const DeviceStep& move, const RunSwitches& switches);

// The model limit that a generator holding a voltage has met: 'I' armature
// current, 'E' field; 0 none. The quantity is set at the limit it met.
char HoldModelAtLimit(NetBus& bus, const RunSwitches& switches);

// Whether a generator held at a model limit ("I" or "E") may return to its
// control: `value` has reached its `reference` on the side where the limit
// no longer binds (a voltage and its target, or the reactive generation of a
// scheduled-Q bus and its schedule).
bool ModelRecoveryDue(const NetBus& bus, double value, double reference);

// A generator held at a limit (the caller knows which controls hold one)
// whose model breaks another limit: the name of the limit broken
// ("armature current", "field"), or null.
const char* ModelLimitBroken(const NetBus& bus, const RunSwitches& switches);

// The voltage of a generator held at a model limit stops at its target
// when it would cross it towards recovery: true while `voltage` lies past it.
bool ModelHoldsVoltage(const NetBus& bus, double voltage, double target);

// Where each of the model's unknowns lives, at its position: the reactive
// generation takes the place of a held E or Ia.
void GeneratorModelFields(NetBus& bus, std::vector<StateField>& fields);

// Every value of the model that a step may move, whatever its mode.
void GeneratorModelValues(NetGenerator& model, std::vector<double*>& values);
