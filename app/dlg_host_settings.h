#pragma once

#include <string>

#include "dialog_base.h"

class Profile;
class QLineEdit;

// Host Settings: the remote solver server's host and port, read from the
// "Remote Host" section of the settings when the dialog opens and written
// back on Connect. The port must be a whole number from 1025 to 65000;
// anything else keeps the dialog open.
class CDlgHostSettings : public DialogBase {
public:
    static constexpr int kTemplateId = 164;
    static constexpr int kHostFieldId = 1038;
    static constexpr int kPortFieldId = 1001;
    static constexpr const char* kSection = "Remote Host";
    static constexpr int kDefaultPort = 2503;
    static constexpr int kLowestPort = 1025;
    static constexpr int kHighestPort = 65000;

    CDlgHostSettings(PromptService& prompts, Profile& profile, QWidget* parent = nullptr);

    // As accepted; as read from the settings until then.
    QString Host() const;
    int Port() const { return port_; }

protected:
    void DoDataExchange(DataExchange& exchange) override;
    bool Validate() override;
    void Commit() override;

private:
    Profile& profile_;
    std::string host_;
    std::string portText_;
    int port_;
    QLineEdit* hostField_;
    QLineEdit* portField_;
};
