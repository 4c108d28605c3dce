#pragma once

#include <QDialog>

#include "network_dialogs.h"

class IModel;
class IRecordCursor;
class PromptService;
class QComboBox;
class QPushButton;

// "Sensitivity Analysis": the bus (the slack bus aside) or the line or
// transformer whose sensitivity factors are wanted. OK stays disabled while
// there is nothing to choose.
class CDlgSensitivity : public QDialog {
public:
    static constexpr int kElementId = 1148;

    // The cursor (the model's own) and the model, which names the branches,
    // are borrowed for the dialog's life.
    CDlgSensitivity(PromptService& prompts, IRecordCursor& cursor, const IModel& model, SensitivityMode mode,
                    QWidget* parent = nullptr);

    // Lists the choices, the first time only; DoModal calls it, tests call
    // it to look at the dialog without running it.
    void SetUp();
    int DoModal();
    void accept() override;

    // The key chosen, read after OK.
    int ChosenKey() const { return chosenKey_; }
    QComboBox& Elements() const { return *elements_; }
    QPushButton& OkButton() const { return *ok_; }

private:
    void ListBuses();
    // "L1 (A - B)": the branch's name and the buses at its ends.
    void ListBranches();

    PromptService& prompts_;
    IRecordCursor& cursor_;
    const IModel& model_;
    SensitivityMode mode_;
    bool setUp_ = false;
    int chosenKey_ = -1;
    QComboBox* elements_;
    QPushButton* ok_;
};
