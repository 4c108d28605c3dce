#include "dlg_host_settings.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "control_id.h"
#include "exchange_messages.h"
#include "profile.h"
#include "windows_1250.h"

CDlgHostSettings::CDlgHostSettings(PromptService& prompts, Profile& profile, QWidget* parent)
    : DialogBase(prompts, parent),
      profile_(profile),
      host_(ToWindows1250(profile.GetProfileString(kSection, "Name"))),
      port_(profile.GetProfileInt(kSection, "Port", kDefaultPort)),
      hostField_(new QLineEdit),
      portField_(new QLineEdit) {
    setWindowTitle("Host Settings");
    SetControlId(*hostField_, kHostFieldId);
    SetControlId(*portField_, kPortFieldId);
    portText_ = std::to_string(port_);

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

QString CDlgHostSettings::Host() const { return FromWindows1250(host_); }

void CDlgHostSettings::DoDataExchange(DataExchange& exchange) {
    exchange.Text(*hostField_, host_);
    exchange.Text(*portField_, portText_);
}

bool CDlgHostSettings::Validate() {
    // Whatever is not a port in the range, letters included, gets the
    // range's message.
    bool isNumber = false;
    const int port = QString::fromStdString(portText_).trimmed().toInt(&isNumber);
    if (isNumber && port >= kLowestPort && port <= kHighestPort) {
        port_ = port;
        return true;
    }
    Message(QString(ExchangeMessage::IntegerOutOfRange).arg(kLowestPort).arg(kHighestPort));
    portField_->setFocus(Qt::OtherFocusReason);
    portField_->selectAll();
    return false;
}

void CDlgHostSettings::Commit() {
    profile_.WriteProfileString(kSection, "Name", Host());
    profile_.WriteProfileInt(kSection, "Port", port_);
}
