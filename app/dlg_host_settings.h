#pragma once

#include "dialog_base.h"
#include "network_dialogs.h"

class QLineEdit;

// Host Settings: the remote solver server's host and port. The port must
// be a whole number from 1025 to 65000; anything else keeps the dialog
// open.
class CDlgHostSettings : public DialogBase {
public:
    static constexpr int kTemplateId = 164;
    static constexpr int kHostFieldId = 1038;
    static constexpr int kPortFieldId = 1001;
    static constexpr int kLowestPort = 1025;
    static constexpr int kHighestPort = 65000;

    CDlgHostSettings(PromptService& prompts, const RemoteHost& stored, QWidget* parent = nullptr);

    // As accepted; as stored until then.
    const RemoteHost& Host() const { return host_; }

protected:
    void DoDataExchange(DataExchange& exchange) override;
    bool Validate() override;
    void Commit() override;

private:
    RemoteHost host_;
    // The fields as typed, until they are accepted.
    std::string typedName_;
    std::string portText_;
    int typedPort_ = 0;
    QLineEdit* hostField_;
    QLineEdit* portField_;
};
