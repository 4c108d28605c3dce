#include "dlg_host_settings.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "control_id.h"
#include "exchange_messages.h"

CDlgHostSettings::CDlgHostSettings(PromptService& prompts, const RemoteHost& stored, QWidget* parent)
    : DialogBase(prompts, parent),
      host_(stored),
      typedName_(stored.name),
      portText_(std::to_string(stored.port)),
      hostField_(new QLineEdit),
      portField_(new QLineEdit) {
    setWindowTitle("Host Settings");
    SetControlId(*hostField_, kHostFieldId);
    SetControlId(*portField_, kPortFieldId);

    auto* fields = new QFormLayout;
    fields->addRow("Host:", hostField_);
    fields->addRow("Port:", portField_);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton("Connect", QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
}

void CDlgHostSettings::DoDataExchange(DataExchange& exchange) {
    exchange.Text(*hostField_, typedName_);
    exchange.Text(*portField_, portText_);
}

bool CDlgHostSettings::Validate() {
    // Whatever is not a port in the range, letters included, gets the
    // range's message.
    bool isNumber = false;
    const int port = QString::fromStdString(portText_).trimmed().toInt(&isNumber);
    if (isNumber && port >= kLowestPort && port <= kHighestPort) {
        typedPort_ = port;
        return true;
    }
    Message(QString(ExchangeMessage::IntegerOutOfRange).arg(kLowestPort).arg(kHighestPort));
    portField_->setFocus(Qt::OtherFocusReason);
    portField_->selectAll();
    return false;
}

void CDlgHostSettings::Commit() { host_ = {typedName_, typedPort_}; }
