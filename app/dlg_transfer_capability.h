#pragma once

#include "dialog_base.h"
#include "network_dialogs.h"

class IRecordCursor;
class QCheckBox;
class QComboBox;
class QLineEdit;
class UpDown;

// "Transfer Capability": the source and destination buses (bus groups
// first, as the cursor hands them out), the step by which the transfer
// grows, an optional stop, and the bar charts to draw.
class CDlgTransferCapability : public DialogBase {
public:
    static constexpr int kSourceId = 1135;
    static constexpr int kDestinationId = 1136;
    static constexpr int kStopId = 1131;
    static constexpr int kVoltageChartId = 1141;
    static constexpr int kLineLoadChartId = 1142;
    static constexpr int kAngleChartId = 1143;
    static constexpr int kStopEnabledId = 1144;
    static constexpr int kStepSpinId = 1145;
    static constexpr int kStopSpinId = 1146;
    static constexpr int kStepId = 1147;
    static constexpr int kReactiveChartId = 1148;

    // The cursor is the model's, borrowed for the dialog's life.
    CDlgTransferCapability(PromptService& prompts, IRecordCursor& cursor, QWidget* parent = nullptr);

    // Read after OK.
    const TransferCapabilityChoice& Choice() const { return choice_; }

protected:
    void OnInitDialog() override;
    void DoDataExchange(DataExchange& exchange) override;
    bool Validate() override;
    void Commit() override;

private:
    // Lists every bus record under its name, its key as the item's data.
    void ListBuses();
    // The stop value and its arrows follow the check.
    void EnableStop();

    IRecordCursor& cursor_;
    TransferCapabilityChoice choice_;
    int stopEnabled_ = 0;
    int voltageChart_ = 0;
    int angleChart_ = 0;
    int reactiveChart_ = 0;
    int lineLoadChart_ = 0;

    QComboBox* source_;
    QComboBox* destination_;
    QLineEdit* step_;
    UpDown* stepSpin_;
    QLineEdit* stop_;
    UpDown* stopSpin_;
    QCheckBox* stopEnabledBox_;
    QCheckBox* voltageChartBox_;
    QCheckBox* angleChartBox_;
    QCheckBox* reactiveChartBox_;
    QCheckBox* lineLoadChartBox_;
};
