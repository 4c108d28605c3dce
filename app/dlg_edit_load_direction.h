#pragma once

#include "dialog_base.h"
#include "direction_factors.h"

class QLineEdit;

// The direction factors of one bus; a bus without generation (or without
// load) cannot change those factors.
class CDlgEditLoadDirection : public DialogBase {
public:
    static constexpr int kGenerationId = 1119;
    static constexpr int kActiveLoadId = 1001;
    static constexpr int kReactiveLoadId = 1002;

    CDlgEditLoadDirection(PromptService& prompts, const DirectionFactors& shown, bool hasGeneration, bool hasLoad,
                          QWidget* parent = nullptr);

    // Read after OK.
    const TypedFactors& Typed() const { return typed_; }

protected:
    void OnInitDialog() override;
    void DoDataExchange(DataExchange& exchange) override;
    void Commit() override;

private:
    DirectionFactors factors_;
    bool hasGeneration_;
    bool hasLoad_;
    TypedFactors typed_;
    QLineEdit* generationField_;
    QLineEdit* activeLoadField_;
    QLineEdit* reactiveLoadField_;
};
