#pragma once

#include <QDialog>

#include "network_dialogs.h"

class PromptService;
class QLineEdit;
class QPushButton;

// "Transfer Capability Results": the buses, the transfer reached and the
// most loaded line, as the caller wrote them. "Create Report" closes it
// with Accepted; "Close" rejects it.
class CDlgTransferCapabilityResults : public QDialog {
public:
    static constexpr int kSourceId = 1130;
    static constexpr int kDestinationId = 1131;
    static constexpr int kTransferId = 1132;
    static constexpr int kLineId = 1133;
    static constexpr int kLoadFactorId = 1134;

    CDlgTransferCapabilityResults(PromptService& prompts, const TransferCapabilityTexts& texts,
                                  QWidget* parent = nullptr);

    int DoModal();

    QPushButton& ReportButton() const { return *report_; }
    QPushButton& CloseButton() const { return *close_; }

private:
    PromptService& prompts_;
    QPushButton* report_;
    QPushButton* close_;
};
