#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "control_id.h"
#include "dlg_host_settings.h"
#include "profile.h"
#include "scripted_prompt_service.h"

namespace {

TEST(HostSettings, ShowsTheStoredHostAndPortAndKeepsThemUntilAPortInRangeIsGiven) {
    QTemporaryDir folder;
    Profile profile(folder.filePath("tavrin.ini"));
    ScriptedPromptService prompts;
    {
        CDlgHostSettings fresh(prompts, profile);
        fresh.SetUp();
        EXPECT_EQ(fresh.windowTitle(), "Host Settings");
        EXPECT_EQ(FindControl<QLineEdit>(fresh, CDlgHostSettings::kHostFieldId)->text(), "");
        EXPECT_EQ(FindControl<QLineEdit>(fresh, CDlgHostSettings::kPortFieldId)->text(), "2503");
        QStringList buttons;
        for (const QPushButton* button : fresh.findChildren<QPushButton*>()) buttons << button->text();
        EXPECT_TRUE(buttons.contains("Connect"));
        EXPECT_TRUE(buttons.contains("&Cancel") || buttons.contains("Cancel"));
    }
    profile.WriteProfileString("Remote Host", "Name", "solver.test");
    profile.WriteProfileInt("Remote Host", "Port", 4000);

    const struct Case {
        const char* port;
        bool accepted;
    } cases[] = {{"1024", false}, {"65001", false}, {"abc", false}, {"", false}, {"1025", true}, {" 65000 ", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.port);
        prompts.prompts.clear();
        CDlgHostSettings dialog(prompts, profile);
        dialog.SetUp();
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
            EXPECT_EQ(profile.GetProfileString("Remote Host", "Name"), "other.test");
            EXPECT_EQ(profile.GetProfileInt("Remote Host", "Port", 0), QString(c.port).trimmed().toInt());
            profile.WriteProfileString("Remote Host", "Name", "solver.test");
            profile.WriteProfileInt("Remote Host", "Port", 4000);
        } else {
            ASSERT_EQ(prompts.Messages().size(), 1u);
            EXPECT_EQ(prompts.Messages()[0].text, "Please enter an integer between 1025 and 65000.");
            EXPECT_EQ(profile.GetProfileString("Remote Host", "Name"), "solver.test");
            EXPECT_EQ(profile.GetProfileInt("Remote Host", "Port", 0), 4000);
        }
    }
}

}  // namespace
