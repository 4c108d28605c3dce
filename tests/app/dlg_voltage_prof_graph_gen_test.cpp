#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <QListWidget>
#include <QPushButton>

#include "control_id.h"
#include "dlg_voltage_prof_graph_gen.h"
#include "scratch_folder.h"
#include "scripted_prompt_service.h"

namespace {

class DlgVoltageProfGraphGenTest : public ::testing::Test {
protected:
    ScriptedPromptService prompts;
    ScratchFolder folder{"pv_chooser"};

    // A rising table of `count` bus voltages V0, V1 ... that drop the more
    // the later the column, with the total load last.
    std::string Table(int count, const std::string& name = "table.txt") {
        std::string text;
        for (int i = 0; i < count; ++i) text += "V" + std::to_string(i) + "\t";
        text += "PLoad_Total\n";
        for (int row = 0; row < 3; ++row) {
            for (int i = 0; i < count; ++i) text += std::to_string(1.0 - 0.001 * row * i) + "\t";
            text += std::to_string(row + 1) + "\n";
        }
        return Write(name, text);
    }
    std::string Write(const std::string& name, const std::string& text) {
        const std::string path = (folder / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    std::unique_ptr<CDlgVoltageProfGraphGen> Dialog(const std::string& path) {
        auto dialog = std::make_unique<CDlgVoltageProfGraphGen>(prompts, path);
        dialog->SetUp();
        return dialog;
    }
    static QListWidget& List(CDlgVoltageProfGraphGen& dialog) {
        return *FindControl<QListWidget>(dialog, CDlgVoltageProfGraphGen::kListId);
    }
    static std::vector<bool> Checks(CDlgVoltageProfGraphGen& dialog) {
        std::vector<bool> checks;
        for (int row = 0; row < List(dialog).count(); ++row) checks.push_back(List(dialog).item(row)->checkState() == Qt::Checked);
        return checks;
    }
};

TEST_F(DlgVoltageProfGraphGenTest, TheWorstSixAreCheckedAtTheStart) {
    auto few = Dialog(Table(3));
    EXPECT_EQ(List(*few).item(0)->text(), "V2");
    EXPECT_EQ(Checks(*few), std::vector<bool>(3, true));

    auto many = Dialog(Table(8));
    std::vector<bool> expected(8, false);
    std::fill_n(expected.begin(), 6, true);
    EXPECT_EQ(Checks(*many), expected);
    many->accept();
    EXPECT_EQ(many->result(), QDialog::Accepted);
    EXPECT_TRUE(many->Usable());
    EXPECT_EQ(many->XName(), "PLoad_Total");
    EXPECT_EQ(many->ChosenNames(), (std::vector<std::string>{"V7", "V6", "V5", "V4", "V3", "V2"}));
    EXPECT_TRUE(prompts.Messages().empty());
}

TEST_F(DlgVoltageProfGraphGenTest, ThirteenChecksGiveTheMessageOnceAndTwelveNames) {
    // The first column drops most, the others not at all; a name in the
    // names' code page comes back byte for byte.
    auto dialog = Dialog(Write("table.txt",
                               "\xC8vor A B C D E F G H I J K L P\n"
                               "1 1 1 1 1 1 1 1 1 1 1 1 1 1\n"
                               "1 1 1 1 1 1 1 1 1 1 1 1 1 2\n"
                               "0.5 1 1 1 1 1 1 1 1 1 1 1 1 3\n"));
    ASSERT_EQ(List(*dialog).count(), 13);
    EXPECT_EQ(List(*dialog).item(0)->text(), QString::fromUtf8("Čvor"));
    FindControl<QPushButton>(*dialog, CDlgVoltageProfGraphGen::kSelectAllId)->click();
    EXPECT_EQ(Checks(*dialog), std::vector<bool>(13, true));
    dialog->accept();
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0].text, "Only first 12 variables will be added on graph");
    EXPECT_EQ(prompts.Messages()[0].caption, "Too many selections");
    EXPECT_TRUE(dialog->Usable());
    ASSERT_EQ(dialog->ChosenNames().size(), 12u);
    EXPECT_EQ(dialog->ChosenNames().front(), "\xC8vor");
    EXPECT_EQ(dialog->ChosenNames().back(), "K");
}

TEST_F(DlgVoltageProfGraphGenTest, NothingToPlotWithoutACurveOrACheck) {
    auto unchecked = Dialog(Table(3));
    FindControl<QPushButton>(*unchecked, CDlgVoltageProfGraphGen::kDeselectAllId)->click();
    EXPECT_EQ(Checks(*unchecked), std::vector<bool>(3, false));
    unchecked->accept();
    EXPECT_EQ(unchecked->result(), QDialog::Accepted);
    EXPECT_FALSE(unchecked->Usable());

    for (const std::string& path : {Write("short.txt", "V1 P\n1 1\n0.9 2\n"), (folder / "missing.txt").string()}) {
        auto dialog = Dialog(path);
        EXPECT_EQ(List(*dialog).count(), 0) << path;
        dialog->accept();
        EXPECT_FALSE(dialog->Usable()) << path;
        EXPECT_TRUE(dialog->ChosenNames().empty()) << path;
    }
    EXPECT_TRUE(prompts.Messages().empty());
}

}  // namespace
