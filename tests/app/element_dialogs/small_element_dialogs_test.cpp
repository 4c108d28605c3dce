#include <gtest/gtest.h>

#include <QListWidget>

#include "dialog_element.h"
#include "dlg_connector_properties.h"
#include "dlg_system_info_properties.h"
#include "element_dialog_driver.h"
#include "free_element_dlg.h"
#include "scripted_prompt_service.h"

namespace {

using Info = CDlgSystemInfoProperties;

TEST(SystemInfoDialog, CodeIsTheTotalsIndexTimesTwoPlusTheCaptionBit) {
    struct Case {
        double storedCode;
        int chosen;  // -1: none chosen
        bool caption;
        double code;
        const char* name;
    };
    const Case cases[] = {
        {4, 9, true, 19, "Import"},   // "System reactive import" with its caption
        {7, 2, false, 4, "Gen Q"},    // caption off: the old caption stays
        {25, -1, false, 24, "Gen Q"}, // an index past the list is kept
        {25, -1, true, 25, "Import"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        DialogElement box(ElementType::SystemInfo, 28, {c.storedCode}, {1});
        box.name = "Gen Q";
        ScriptedPromptService prompts;
        Info dialog(box, prompts);
        dialog.SetUp();
        auto& list = *FindControl<QListWidget>(dialog, Info::kInfoId);
        ASSERT_EQ(list.count(), 10);
        EXPECT_EQ(list.item(9)->text(), "System reactive import");
        const int stored = static_cast<int>(c.storedCode);
        EXPECT_EQ(list.currentRow(), (stored >> 1) < 10 ? stored >> 1 : -1);
        EXPECT_EQ(Check(dialog, Info::kShowLabelId).isChecked(), (stored & 1) != 0);
        EXPECT_EQ(Field(dialog, Info::kLabelId).isEnabled(), (stored & 1) != 0);
        if (c.chosen >= 0) list.setCurrentRow(c.chosen);
        Check(dialog, Info::kShowLabelId).setChecked(c.caption);
        EXPECT_EQ(Field(dialog, Info::kLabelId).isEnabled(), c.caption);
        Type(dialog, Info::kLabelId, "Import");
        dialog.accept();
        ASSERT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(box.values[0], c.code);
        EXPECT_EQ(box.name, c.name);
        EXPECT_EQ(box.calls.back(), "UpdateResultLabel");
    }
}

TEST(FreeElementDlg, ATitledKindEditsItsShowFlagAFreeTextNever) {
    struct Case {
        const char* title;
        const char* caption;
        bool checkShown;
        std::uint8_t flagAfterUnchecking;
    };
    const Case cases[] = {
        {"Free Line Properties", "Free Line Properties", true, 0},
        {"Polygon/Polyline Properties", "Polygon/Polyline Properties", true, 0},
        {"", "Free Element", false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        DialogElement element(ElementType::FreeText, 15, {}, {1});
        ScriptedPromptService prompts;
        FreeElementDlg dialog(element, c.title, prompts);
        dialog.text = "Hello";
        dialog.SetUp();
        EXPECT_EQ(dialog.windowTitle(), c.caption);
        EXPECT_EQ(Check(dialog, FreeElementDlg::kShowId).isVisibleTo(&dialog), c.checkShown);
        EXPECT_EQ(Field(dialog, FreeElementDlg::kTextId).text(), "Hello");
        Check(dialog, FreeElementDlg::kShowId).setChecked(false);
        Type(dialog, FreeElementDlg::kTextId, "Bye");
        dialog.accept();
        ASSERT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(element.labelFlags[0], c.flagAfterUnchecking);
        EXPECT_EQ(dialog.text, "Bye");
        EXPECT_EQ(element.name, "") << "the caller sets the name";
    }
}

TEST(FreeElementDlg, OwnerLabelModeLocksTheText) {
    DialogElement element(ElementType::FreeLine, 13, {}, {1});
    element.labelMode = true;
    ScriptedPromptService prompts;
    FreeElementDlg dialog(element, "Free Line Properties", prompts);
    dialog.SetUp();
    EXPECT_FALSE(Field(dialog, FreeElementDlg::kTextId).isEnabled());
}

TEST(ConnectorDialog, EditsTheNameAndTheFlowLabel) {
    DialogElement connector(ElementType::CircuitBreaker, 20, {1, 0, 0, 0, 0, 0}, {0});
    connector.name = "CB1";
    ScriptedPromptService prompts;
    CDlgConnectorProperties dialog(connector, prompts);
    dialog.SetUp();
    EXPECT_EQ(Field(dialog, CDlgConnectorProperties::kNameId).text(), "CB1");
    Type(dialog, CDlgConnectorProperties::kNameId, "CB2");
    Check(dialog, CDlgConnectorProperties::kShowId).setChecked(true);
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(connector.name, "CB2");
    EXPECT_EQ(connector.labelFlags[0], 1);
    EXPECT_EQ(connector.calls, (std::vector<std::string>{"SetName", "UpdateResultLabel"}));
}

}  // namespace
