#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include "control_id.h"
#include "dlg_host_settings.h"
#include "scripted_prompt_service.h"

namespace {

TEST(HostSettings, ShowsTheStoredHostAndPortAndKeepsThemUntilAPortInRangeIsGiven) {
    ScriptedPromptService prompts;
    const RemoteHost stored{"solver.test", 4000};
    const struct Case {
        const char* port;
        bool accepted;
    } cases[] = {{"1024", false}, {"65001", false}, {"abc", false}, {"", false}, {"1025", true}, {" 65000 ", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.port);
        prompts.prompts.clear();
        CDlgHostSettings dialog(prompts, stored);
        dialog.SetUp();
        EXPECT_EQ(dialog.windowTitle(), "Host Settings");
        auto* host = FindControl<QLineEdit>(dialog, CDlgHostSettings::kHostFieldId);
        auto* port = FindControl<QLineEdit>(dialog, CDlgHostSettings::kPortFieldId);
        EXPECT_EQ(host->text(), "solver.test");
        EXPECT_EQ(port->text(), "4000");
        host->setText("other.test");
        port->setText(c.port);
        dialog.accept();
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.accepted);
        if (c.accepted) {
            EXPECT_TRUE(prompts.Messages().empty());
            EXPECT_EQ(dialog.Host(), (RemoteHost{"other.test", QString(c.port).trimmed().toInt()}));
        } else {
            ASSERT_EQ(prompts.Messages().size(), 1u);
            EXPECT_EQ(prompts.Messages()[0].text, "Please enter an integer between 1025 and 65000.");
            EXPECT_EQ(dialog.Host(), stored);
        }
    }
    CDlgHostSettings dialog(prompts, stored);
    QStringList buttons;
    for (const QPushButton* button : dialog.findChildren<QPushButton*>()) buttons << button->text();
    EXPECT_TRUE(buttons.contains("Connect")) << buttons.join('|').toStdString();
}

}  // namespace
