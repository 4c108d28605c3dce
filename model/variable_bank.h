#pragma once

#include <memory>
#include <vector>

#include "network_records.h"
#include "shunt.h"

// A switched capacitor bank: a list of steps that the solver switches in to
// hold its bus's voltage. Entry 0 of the list holds the present position
// (the number of steps switched in) and the Mvar at position 0; each further
// entry is a group of `count` steps of `mvar` each. The bus copies the
// bank's record, step list included, into its solver record.
class VariableBank : public Capacitor {
public:
    // A new bank at the point, connected to the bus under it, at position 0
    // with nothing at it.
    VariableBank(PowerSystem* owner, int key, Point at);
    // An empty bank, without entries, that an archive fills.
    VariableBank();

    int GetElementType() const override { return ElementType::VariableBank; }
    // Value 2 the Mvar at position 0, value 3 the Mvar at the present
    // position and voltage; the label shows the latter.
    void UpdateResultLabel(const double* values) override;
    // A BankRecord; Q at the present voltage (true) while on and attached.
    bool FillSolverRecord(SolverRecord record, char mode) override;
    // The copy keeps the step list.
    std::unique_ptr<IElement> Duplicate(bool forClipboard) override;
    // The shunt block, then the step list.
    void Serialize(Archive& archive) override;
    std::unique_ptr<IElement> CreateNew(PowerSystem* owner, int key, Point point, int flag) override;
    void DrawSymbol(DrawingContext& dc) override;

    // Mvar at 1 p.u. with `position` steps switched in, the last group
    // taken only up to the position. A position below 0 or beyond the steps
    // sets the present position to 0 and answers the Mvar at position 0.
    double GetTotalAtPosition(int position);
    const std::vector<BankBlock>& GetSteps() const { return steps_; }
    std::vector<BankBlock>& Steps() { return steps_; }

protected:
    VariableBank(PowerSystem* owner, int key, Point at, int category);
    explicit VariableBank(int category) : Capacitor(category) {}

    // The adjusting arrow across the body.
    void DrawArrow(DrawingContext& dc);

    std::vector<BankBlock> steps_;
};

// A switched reactor bank: the same list of steps under a coil.
class VariableReactorBank : public VariableBank {
public:
    VariableReactorBank(PowerSystem* owner, int key, Point at);
    VariableReactorBank();

    int GetElementType() const override { return ElementType::VariableReactorBank; }
    std::unique_ptr<IElement> CreateNew(PowerSystem* owner, int key, Point point, int flag) override;
    void DrawSymbol(DrawingContext& dc) override;
};
