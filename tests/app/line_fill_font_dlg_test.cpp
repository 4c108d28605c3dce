#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "color_list_box.h"
#include "colour_picker.h"
#include "control_id.h"
#include "edit_ex.h"
#include "font_setting.h"
#include "label_names.h"
#include "line_fill_font_dlg.h"
#include "recording_desktop_actions.h"
#include "scripted_prompt_service.h"
#include "up_down.h"

namespace {

// Label fonts as a document stores them: Central European charset 238,
// variable pitch of the Swiss family (18), each label in its own height
// and colour.
std::vector<FontSetting> LabelFonts(int count) {
    std::vector<FontSetting> fonts(count);
    for (int i = 0; i < count; ++i) {
        fonts[i].font.SetFaceName(i == 0 ? "Arial" : "Times New Roman");
        fonts[i].font.height = -11 - i;
        fonts[i].font.charSet = 238;
        fonts[i].font.pitchAndFamily = 18;
        fonts[i].color = Rgb(10 * i, 0, 128);
    }
    return fonts;
}

bool SameBytes(const std::vector<FontSetting>& a, const std::vector<FontSetting>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(FontSetting)) == 0;
}

class LineFillFontDlgTest : public ::testing::Test {
protected:
    ScriptedPromptService prompts;
    RecordingDesktopActions desktop;
    std::vector<FontSetting> fonts = LabelFonts(4);

    // A power line's four labels, black lines two wide on white.
    std::unique_ptr<LineFillFontDlg> Dialog(std::span<const std::string_view> names, bool hasFill = false) {
        auto dialog = std::make_unique<LineFillFontDlg>(prompts, desktop, fonts, names, kBlack, kWhite, hasFill);
        dialog->SetLineWidth(2);
        dialog->SetAllowApplyToAll(true);
        dialog->SetUp();
        return dialog;
    }
    static ColorListBox& Labels(LineFillFontDlg& dialog) {
        return *FindControl<ColorListBox>(dialog, LineFillFontDlg::kLabelListId);
    }
    static void Click(LineFillFontDlg& dialog, int id) { FindControl<QPushButton>(dialog, id)->click(); }
};

TEST_F(LineFillFontDlgTest, TheWidthLiesFromOneToFourAndAStoredZeroShowsAsOne) {
    auto dialog = Dialog(LabelNames(LabelFamily::PowerLine));
    auto& width = *FindControl<QLineEdit>(*dialog, LineFillFontDlg::kLineWidthId);
    EXPECT_EQ(width.text(), "2");
    auto& spin = *FindControl<UpDown>(*dialog, LineFillFontDlg::kLineWidthSpinId);
    spin.Step(5);
    EXPECT_EQ(width.text(), "4");
    spin.Step(-5);
    EXPECT_EQ(width.text(), "1");

    struct Case {
        const char* typed;
        bool accepted;
    };
    for (const Case& c : {Case{"5", false}, Case{"0", false}, Case{"4", true}}) {
        SCOPED_TRACE(c.typed);
        auto typedIn = Dialog(LabelNames(LabelFamily::PowerLine));
        FindControl<QLineEdit>(*typedIn, LineFillFontDlg::kLineWidthId)->setText(c.typed);
        prompts.prompts.clear();
        typedIn->accept();
        EXPECT_EQ(typedIn->result() == QDialog::Accepted, c.accepted);
        EXPECT_EQ(prompts.Messages().size(), c.accepted ? 0u : 1u);
        EXPECT_EQ(typedIn->LineWidth(), c.accepted ? 4 : 2);
    }

    LineFillFontDlg unset(prompts, desktop, fonts, LabelNames(LabelFamily::PowerLine), kBlack, kWhite, false);
    unset.SetLineWidth(0);
    unset.SetUp();
    EXPECT_EQ(FindControl<QLineEdit>(unset, LineFillFontDlg::kLineWidthId)->text(), "1");
}

TEST_F(LineFillFontDlgTest, OnlyAPolygonsFillIsEditableAndItNeverGoesToAll) {
    struct Case {
        bool hasFill;
        bool allowApplyToAll;
        bool applyShown;
        bool applyEnabled;
    };
    const Case cases[] = {
        {true, true, true, false},
        {false, true, true, true},
        {false, false, false, true},  // the default appearance: no elements to restyle
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.hasFill << c.allowApplyToAll);
        LineFillFontDlg dialog(prompts, desktop, fonts, LabelNames(LabelFamily::TextAndDrawing), kBlack,
                               Rgb(0, 128, 0), c.hasFill);
        dialog.SetAllowApplyToAll(c.allowApplyToAll);
        dialog.SetUp();
        auto& apply = *FindControl<QCheckBox>(dialog, LineFillFontDlg::kApplyToAllId);
        EXPECT_EQ(!apply.isHidden(), c.applyShown);
        EXPECT_EQ(apply.isEnabled(), c.applyEnabled);
        EXPECT_EQ(FindControl<CColourPicker>(dialog, LineFillFontDlg::kFillColorId)->isEnabled(), c.hasFill);
        EXPECT_EQ(FindControl<QGroupBox>(dialog, LineFillFontDlg::kFillGroupId)->isEnabled(), c.hasFill);
    }

    auto polygon = Dialog(LabelNames(LabelFamily::TextAndDrawing), true);
    FindControl<CColourPicker>(*polygon, LineFillFontDlg::kFillColorId)->setColour(Rgb(255, 255, 0));
    FindControl<CColourPicker>(*polygon, LineFillFontDlg::kLineColorId)->setColour(Rgb(0, 0, 255));
    polygon->accept();
    EXPECT_EQ(polygon->FillColor(), Rgb(255, 255, 0));
    EXPECT_EQ(polygon->LineColor(), Rgb(0, 0, 255));
    EXPECT_FALSE(polygon->ApplyToAll());
}

TEST_F(LineFillFontDlgTest, CancelAfterFontAndUniformLeavesTheCallersFontsAsTheyWere) {
    const std::vector<FontSetting> before = fonts;
    FontChoice chosen{fonts[1].font, Rgb(255, 0, 0)};
    chosen.font.SetFaceName("Courier New");
    prompts.fonts = {chosen};
    auto dialog = Dialog(LabelNames(LabelFamily::PowerLine));
    Labels(*dialog).setCurrentRow(1);
    Click(*dialog, LineFillFontDlg::kFontId);
    Click(*dialog, LineFillFontDlg::kUniformId);
    dialog->reject();
    EXPECT_TRUE(SameBytes(fonts, before));
}

TEST_F(LineFillFontDlgTest, UniformGivesEveryLabelAndListItemTheSelectedLabelsFontAndColour) {
    auto dialog = Dialog(LabelNames(LabelFamily::PowerLine));
    ColorListBox& labels = Labels(*dialog);
    labels.setCurrentRow(2);
    Click(*dialog, LineFillFontDlg::kUniformId);
    for (int i = 0; i < labels.count(); ++i) EXPECT_EQ(labels.ItemRecord(i).textColor, Rgb(20, 0, 128)) << i;
    const FontSetting selected = fonts[2];
    dialog->accept();
    for (const FontSetting& font : fonts) {
        EXPECT_EQ(font.font, selected.font);
        EXPECT_EQ(font.color, selected.color);
    }
}

TEST_F(LineFillFontDlgTest, AChosenFaceAndHeightKeepTheLabelsCharsetAndPitch) {
    // The chooser answers the record it was given with what the user
    // changed: the face and the height.
    FontChoice chosen{fonts[1].font, Rgb(0, 128, 0)};
    chosen.font.SetFaceName("Courier New");
    chosen.font.height = -20;
    prompts.fonts = {chosen};
    auto dialog = Dialog(LabelNames(LabelFamily::PowerLine));
    ColorListBox& labels = Labels(*dialog);
    labels.setCurrentRow(1);
    emit labels.itemDoubleClicked(labels.item(1));

    ASSERT_EQ(prompts.prompts.size(), 1u);
    EXPECT_EQ(prompts.prompts[0].initialFont, fonts[1].font);
    EXPECT_EQ(prompts.prompts[0].initialColor, fonts[1].color);
    EXPECT_EQ(labels.ItemRecord(1).textColor, Rgb(0, 128, 0));
    EXPECT_EQ(FindControl<CEditEx>(*dialog, LineFillFontDlg::kPreviewId)->text(), "Courier New");

    dialog->accept();
    EXPECT_EQ(fonts[1].font.FaceName(), "Courier New");
    EXPECT_EQ(fonts[1].font.height, -20);
    EXPECT_EQ(fonts[1].font.charSet, 238);
    EXPECT_EQ(fonts[1].font.pitchAndFamily, 18);
    EXPECT_EQ(fonts[1].color, Rgb(0, 128, 0));
    EXPECT_EQ(fonts[0].font.FaceName(), "Arial");
}

TEST_F(LineFillFontDlgTest, LabelsGoAsFarAsBothTheNamesAndTheFonts) {
    const std::vector<FontSetting> before = fonts;
    auto unnamed = Dialog({});
    EXPECT_EQ(Labels(*unnamed).count(), 0);
    Click(*unnamed, LineFillFontDlg::kFontId);
    Click(*unnamed, LineFillFontDlg::kUniformId);
    unnamed->accept();
    EXPECT_EQ(unnamed->result(), QDialog::Accepted);
    EXPECT_TRUE(prompts.prompts.empty());
    EXPECT_TRUE(SameBytes(fonts, before));

    // A transformer has five labels; with four fonts only four are shown.
    auto transformer = Dialog(LabelNames(LabelFamily::Transformer));
    ColorListBox& labels = Labels(*transformer);
    ASSERT_EQ(labels.count(), 4);
    EXPECT_EQ(labels.item(3)->text(), "PQ losses");
    labels.setCurrentRow(3);
    Click(*transformer, LineFillFontDlg::kUniformId);
    transformer->accept();
    EXPECT_EQ(fonts[0].font, before[3].font);
}

}  // namespace
