#include "dlg_transfer_capability_results.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "control_id.h"
#include "dialog_buttons.h"
#include "prompt_service.h"
#include "windows_1250.h"

CDlgTransferCapabilityResults::CDlgTransferCapabilityResults(PromptService& prompts,
                                                             const TransferCapabilityTexts& texts, QWidget* parent)
    : QDialog(parent), prompts_(prompts) {
    setWindowTitle("Transfer Capability Results");
    struct Row {
        int id;
        const char* label;
        const std::string& text;
        const char* unit;  // a figure is right-aligned before its unit
    };
    const Row rows[] = {{kSourceId, "Source bus:", texts.source, nullptr},
                        {kDestinationId, "Destination bus:", texts.destination, nullptr},
                        {kTransferId, "Calculated transfer rate:", texts.transfer, "MW"},
                        {kLineId, "Line with maximum LF:", texts.line, nullptr},
                        {kLoadFactorId, "Maximum LF value:", texts.loadFactor, "%"}};
    auto* fields = new QGridLayout;
    int line = 0;
    for (const Row& row : rows) {
        auto* field = new QLineEdit(FromWindows1250(row.text));
        SetControlId(*field, row.id);
        field->setReadOnly(true);
        field->setMinimumWidth(220);
        fields->addWidget(new QLabel(row.label), line, 0);
        fields->addWidget(field, line, 1);
        if (row.unit) {
            field->setAlignment(Qt::AlignRight);
            fields->addWidget(new QLabel(row.unit), line, 2);
        }
        ++line;
    }

    const DialogButtons buttons = MakeDialogButtons(*this, "Create Report", "Close");
    report_ = buttons.accept;
    close_ = buttons.reject;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons.box);
}

int CDlgTransferCapabilityResults::DoModal() { return prompts_.RunModal(*this); }
