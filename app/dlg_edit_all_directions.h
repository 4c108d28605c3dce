#pragma once

#include <array>

#include "dialog_base.h"
#include "direction_factors.h"

class QCheckBox;
class QLineEdit;

// One set of direction factors for many buses at once; each factor is
// given to the buses only when its box is checked, and the load factors
// only when a bus with load was among them.
class CDlgEditAllDirections : public DialogBase {
public:
    static constexpr int kAdjustGenerationId = 1121;
    static constexpr int kAdjustActiveLoadId = 1122;
    static constexpr int kAdjustReactiveLoadId = 1123;
    static constexpr int kGenerationId = 1124;
    static constexpr int kActiveLoadId = 1125;
    static constexpr int kReactiveLoadId = 1126;

    CDlgEditAllDirections(PromptService& prompts, const DirectionFactors& shown, bool generationPresent,
                          bool loadPresent, QWidget* parent = nullptr);

    // Read after OK: which factors to give, and each one's typed value
    // (nothing when its field was left as shown).
    bool AdjustGeneration() const { return adjust_[0] == 1; }
    bool AdjustActiveLoad() const { return adjust_[1] == 1; }
    bool AdjustReactiveLoad() const { return adjust_[2] == 1; }
    const TypedFactors& Typed() const { return typed_; }

protected:
    void OnInitDialog() override;
    void DoDataExchange(DataExchange& exchange) override;
    void Commit() override;

private:
    DirectionFactors factors_;
    bool generationPresent_;
    bool loadPresent_;
    std::array<int, 3> adjust_{};
    TypedFactors typed_;
    std::array<QCheckBox*, 3> checks_;
    std::array<QLineEdit*, 3> fields_;
};
