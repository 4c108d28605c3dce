#include "solution_values.h"

#include <cmath>

#include "number_text.h"

int ListedNumber(const NetBus& bus) {
    return bus.externalNumber != 0 ? bus.externalNumber : bus.number;
}

std::string NumberOrStars(int number, int width) {
    std::string text = FormatInCLocale("%*d", width, number);
    if (text.size() > static_cast<std::size_t>(width)) text.assign(static_cast<std::size_t>(width), '*');
    return text;
}

double WrappedAngle(double radians) {
    if (radians > kPi || radians <= -kPi) radians -= kTwoPi * std::ceil((radians - kPi) / kTwoPi);
    return radians;
}

double LoadAt(const LoadModel& model, double voltage, double lambda) {
    return model.VoltagePower(voltage) * (model.base + lambda * model.baseDirection) +
           voltage * voltage * (model.impedance + lambda * model.impedanceDirection);
}

EndFlows BranchFlows(const NetBranch& branch) {
    const double g = branch.g;
    const double b = branch.b;
    const double t = branch.tap;
    const double v1 = branch.from->voltage;
    const double v2 = branch.to->voltage;
    const double delta = branch.from->angle - branch.to->angle;
    const ShiftTurn turn = TurnOf(branch.shift);
    const double cosShift = turn.cos;
    const double sinShift = turn.sin;
    const double m = t * (g * cosShift - b * sinShift);
    const double n = t * (b * cosShift + g * sinShift);
    const double m2 = t * (g * cosShift + b * sinShift);
    const double n2 = t * (b * cosShift - g * sinShift);

    // From the to end the difference is -delta: the same cosine, the sine
    // of the opposite sign (exactly so).
    const double cosDelta = std::cos(delta);
    const double sinDelta = std::sin(delta);

    EndFlows flows;
    flows.fromP = v1 * v1 * t * t * (g + branch.fromShuntG) - v1 * v2 * (m * cosDelta + n * sinDelta);
    flows.fromQ = -v1 * v1 * t * t * (b + branch.fromShuntB) - v1 * v2 * (m * sinDelta - n * cosDelta);
    flows.toP = v2 * v2 * (g + branch.toShuntG) - v1 * v2 * (m2 * cosDelta + n2 * -sinDelta);
    flows.toQ = -v2 * v2 * (b + branch.toShuntB) - v1 * v2 * (m2 * -sinDelta - n2 * cosDelta);
    return flows;
}
