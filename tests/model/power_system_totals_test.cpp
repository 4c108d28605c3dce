#include <gtest/gtest.h>

#include <vector>

#include "test_model.h"

namespace {

// An element of the class with these values, from index 0.
FakeElement& WithValues(TestModel& model, int type, std::vector<double> values) {
    FakeElement& element = model.Add(type);
    element.values = std::move(values);
    return element;
}

std::vector<double> At(std::size_t index, double value, std::vector<double> values = {}) {
    if (values.size() <= index) values.resize(index + 1);
    values[index] = value;
    return values;
}

TEST(SystemTotals, SumsEachQuantityOverItsKinds) {
    TestModel model;
    WithValues(model, ElementType::Load, {10, 4});
    WithValues(model, ElementType::Load, {5, 1});
    WithValues(model, ElementType::Generator, {30, 7});
    WithValues(model, ElementType::SyncCompensator, {99, 2});
    WithValues(model, ElementType::VarCompensator, {99, 3});
    // Flows into both ends of a line: P 20 and -19.5, Q 5 and -6.
    WithValues(model, ElementType::PowerLine, At(22, -6, At(21, -19.5, At(20, 5, At(19, 20)))));
    WithValues(model, ElementType::Transformer, At(22, 0.5, At(21, -10, At(20, 1, At(19, 10.25)))));
    WithValues(model, ElementType::Shunt, {1, 2, 0.9, 1.8});      // present P 0.9 MW, Q 1.8 Mvar
    WithValues(model, ElementType::Capacitor, {0, 20, 0, 19});
    WithValues(model, ElementType::VariableBank, {0, 0, 5, 30});
    WithValues(model, ElementType::Reactor, {0, -10, 0, -9});
    WithValues(model, ElementType::NetworkEquivalent, At(6, 40, At(5, 12)));
    WithValues(model, ElementType::Bus, At(6, 1000, At(5, 1000)));  // not an equivalent
    model.Add(ElementType::Load);  // a kind without values counts nothing
    FakeElement& info = model.Add(ElementType::SystemInfo);

    model->ComputeSystemTotals();
    const double expected[] = {15, 5, 30, 12, 0.75, 0.5, 0.9, 1.8 + 19 + 30 - 9, 40, 12};
    for (int i = 0; i < 10; ++i) EXPECT_DOUBLE_EQ(model->GetSystemTotal(i), expected[i]) << i;
    EXPECT_EQ(info.labelUpdates, 1);

    // Recomputing starts from zero.
    model->ComputeSystemTotals();
    EXPECT_DOUBLE_EQ(model->GetSystemTotal(0), 15);
    EXPECT_EQ(info.labelUpdates, 2);
}

}  // namespace
