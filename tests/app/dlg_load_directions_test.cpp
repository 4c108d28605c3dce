#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "control_id.h"
#include "dlg_edit_all_directions.h"
#include "dlg_edit_load_direction.h"
#include "dlg_load_directions.h"
#include "drawn_network.h"
#include "load.h"
#include "memory_record_cursor.h"
#include "recording_model.h"
#include "scripted_prompt_service.h"
#include "switching_element.h"

namespace {

using Dialog = CDlgLoadDirections;

QTableWidget& List(Dialog& dialog) { return *FindControl<QTableWidget>(dialog, Dialog::kListId); }

QStringList Row(Dialog& dialog, int row) {
    QStringList texts;
    for (int column = 0; column < Dialog::kColumnCount; ++column) texts << List(dialog).item(row, column)->text();
    return texts;
}

void Click(QWidget& dialog, int id) { FindControl<QAbstractButton>(dialog, id)->click(); }

void Type(QWidget& dialog, int id, const QString& text) { FindControl<QLineEdit>(dialog, id)->setText(text); }

void SelectRows(Dialog& dialog, std::initializer_list<int> rows) {
    List(dialog).clearSelection();
    for (int row : rows) {
        List(dialog).selectionModel()->select(List(dialog).model()->index(row, 0),
                                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

// The next dialog the prompts run gets `play`, then OK.
void ThenOk(ScriptedPromptService& prompts, std::function<void(QDialog&)> play) {
    prompts.dialogScripts.push_back([play](QDialog& dialog) {
        play(dialog);
        dialog.accept();
    });
}

bool SameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

// A fake model with four buses as the listing reads them: one with neither
// load nor generation, one with generation only, one with load only and a
// negative reactive direction, one with both.
class DlgLoadDirectionsTest : public ::testing::Test {
protected:
    DlgLoadDirectionsTest() {
        cursor.AddBus(1, 1, "Empty");
        BusRecord& generation = cursor.AddBus(2, 4, "Plant");
        generation.hasGeneration = true;
        generation.generationP = 50;
        generation.generationShare = -2.5;
        BusRecord& load = cursor.AddBus(3, 1, "Town");
        load.hasLoad = true;
        load.loadP = 30;
        load.loadQ = 10;
        load.pLoadShare = -0.123456789;
        load.qLoadShare = -0.5;
        BusRecord& both = cursor.AddBus(4, 4, "Mill");
        both.hasGeneration = both.hasLoad = true;
        both.generationP = 20;
        both.loadP = 5;
        both.loadQ = -1;
        both.generationShare = 1;
        both.pLoadShare = 2;
        both.qLoadShare = 3;
        model.continuationResult = "stored.txt";
    }

    std::unique_ptr<Dialog> Open() {
        auto dialog = std::make_unique<Dialog>(prompts, cursor, model);
        dialog->SetUp();
        return dialog;
    }
    void ThenOk(std::function<void(QDialog&)> play) { ::ThenOk(prompts, std::move(play)); }

    ScriptedPromptService prompts;
    MemoryRecordCursor cursor;
    RecordingModel model;
};

TEST_F(DlgLoadDirectionsTest, ListsTheBusesWithGenerationOrLoad) {
    auto dialog = Open();
    ASSERT_EQ(List(*dialog).rowCount(), 3);
    EXPECT_EQ(Row(*dialog, 0), (QStringList{"Plant", "50.000", "", "", "2.500", "", ""}));
    EXPECT_EQ(Row(*dialog, 1), (QStringList{"Town", "", "30.000", "10.000", "", "0.123", "-0.500"}));
    EXPECT_EQ(Row(*dialog, 2), (QStringList{"Mill", "20.000", "5.000", "-1.000", "1.000", "2.000", "3.000"}));
    EXPECT_FALSE(cursor.groupBuses);
    EXPECT_EQ(FindControl<QLineEdit>(*dialog, Dialog::kOutputPathId)->text(), "stored.txt");
    EXPECT_FALSE(FindControl<QPushButton>(*dialog, Dialog::kEditId)->isEnabled());
    SelectRows(*dialog, {1});
    EXPECT_TRUE(FindControl<QPushButton>(*dialog, Dialog::kEditId)->isEnabled());
}

TEST_F(DlgLoadDirectionsTest, StoppingAtALoadAndWritingAFileExcludeEachOther) {
    auto dialog = Open();
    struct State {
        const char* after;
        int click;  // 0: as set up
        bool createChecked, createEnabled, pathEnabled, totalEnabled;
    };
    const State states[] = {
        {"set-up", 0, false, true, false, false},
        {"create output", Dialog::kCreateOutputId, true, true, true, false},
        {"stop at load", Dialog::kStopAtLoadId, false, false, false, true},
        {"stop at load again", Dialog::kStopAtLoadId, false, true, false, false},
        {"create output again", Dialog::kCreateOutputId, true, true, true, false},
        {"create output off", Dialog::kCreateOutputId, false, true, false, false},
    };
    for (const State& s : states) {
        if (s.click) Click(*dialog, s.click);
        auto& create = *FindControl<QCheckBox>(*dialog, Dialog::kCreateOutputId);
        EXPECT_EQ(create.isChecked(), s.createChecked) << s.after;
        EXPECT_EQ(create.isEnabled(), s.createEnabled) << s.after;
        EXPECT_EQ(FindControl<QLineEdit>(*dialog, Dialog::kOutputPathId)->isEnabled(), s.pathEnabled) << s.after;
        EXPECT_EQ(FindControl<QPushButton>(*dialog, Dialog::kBrowseId)->isEnabled(), s.pathEnabled) << s.after;
        EXPECT_EQ(FindControl<QLineEdit>(*dialog, Dialog::kTotalLoadId)->isEnabled(), s.totalEnabled) << s.after;
    }
    // A box never reads the other fields: nothing to refuse yet.
    Type(*dialog, Dialog::kTotalLoadId, "lots");
    Click(*dialog, Dialog::kStopAtLoadId);
    EXPECT_TRUE(prompts.Messages().empty());

    Type(*dialog, Dialog::kTotalLoadId, "412.5");
    dialog->accept();
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(dialog->StopAtLoad());
    EXPECT_FALSE(dialog->CreateOutput());
    EXPECT_EQ(dialog->TotalLoad(), 412.5);
}

TEST_F(DlgLoadDirectionsTest, OneRowIsEditedInTheSmallDialogAndOnlyTypedFieldsChange) {
    cursor.buses.erase(cursor.buses.begin(), cursor.buses.begin() + 2);  // "Town" and "Mill" remain
    auto dialog = Open();
    // The dialog shows what the row shows; a bus without generation cannot
    // change kPg.
    ThenOk([](QDialog& edit) {
        EXPECT_EQ(edit.windowTitle(), "Adjust Load/Generator Directions");
        EXPECT_FALSE(FindControl<QLineEdit>(edit, CDlgEditLoadDirection::kGenerationId)->isEnabled());
        EXPECT_EQ(FindControl<QLineEdit>(edit, CDlgEditLoadDirection::kActiveLoadId)->text(), "0.123");
        Type(edit, CDlgEditLoadDirection::kReactiveLoadId, "0.25");
    });
    SelectRows(*dialog, {0});
    Click(*dialog, Dialog::kEditId);
    EXPECT_EQ(Row(*dialog, 0).mid(4), (QStringList{"", "0.123", "0.250"}));

    // Opened and closed without typing: nothing changes.
    ThenOk([](QDialog&) {});
    SelectRows(*dialog, {1});
    Click(*dialog, Dialog::kEditId);

    dialog->accept();
    ASSERT_EQ(model.appliedRecords.size(), 1u);
    const BusRecord& applied = model.appliedRecords[0];
    EXPECT_EQ(applied.key, (3 << 8) | 1);
    EXPECT_TRUE(applied.hasLoad);
    EXPECT_FALSE(applied.hasGeneration);
    // The untyped factor goes back as stored, sign and every digit.
    EXPECT_TRUE(SameBits(applied.pLoadShare, -0.123456789));
    EXPECT_EQ(applied.qLoadShare, 0.25);
}

TEST_F(DlgLoadDirectionsTest, AdjustAllOnOneRowOpensTheOneRowDialog) {
    cursor.buses.resize(2);
    auto dialog = Open();
    Click(*dialog, Dialog::kAdjustAllId);
    ASSERT_EQ(prompts.prompts.size(), 1u);
    EXPECT_EQ(prompts.prompts[0].caption, "Adjust Load/Generator Directions");

    cursor.buses.resize(1);
    auto empty = Open();
    EXPECT_FALSE(FindControl<QPushButton>(*empty, Dialog::kAdjustAllId)->isEnabled());
}

TEST_F(DlgLoadDirectionsTest, ManyRowsWithoutLoadLeaveTheLoadColumnsAlone) {
    BusRecord& second = cursor.AddBus(5, 4, "Dam");
    second.hasGeneration = true;
    second.generationShare = 4;
    auto dialog = Open();
    ThenOk([](QDialog& edit) {
        EXPECT_EQ(edit.windowTitle(), "Adjusting Multiple Directions");
        EXPECT_TRUE(FindControl<QCheckBox>(edit, CDlgEditAllDirections::kAdjustGenerationId)->isChecked());
        for (int id : {CDlgEditAllDirections::kAdjustActiveLoadId, CDlgEditAllDirections::kAdjustReactiveLoadId,
                       CDlgEditAllDirections::kActiveLoadId, CDlgEditAllDirections::kReactiveLoadId}) {
            EXPECT_FALSE(FindControl<QWidget>(edit, id)->isEnabled()) << id;
        }
        // The first selected row's factor, as it shows.
        EXPECT_EQ(FindControl<QLineEdit>(edit, CDlgEditAllDirections::kGenerationId)->text(), "2.5");
        Type(edit, CDlgEditAllDirections::kActiveLoadId, "9");
        Type(edit, CDlgEditAllDirections::kReactiveLoadId, "9");
    });
    SelectRows(*dialog, {0, 3});
    Click(*dialog, Dialog::kEditId);
    // Left as shown, the factor is the first row's as stored: both rows
    // take -2.5.
    EXPECT_EQ(Row(*dialog, 0).mid(4), (QStringList{"2.500", "", ""}));
    EXPECT_EQ(Row(*dialog, 3).mid(4), (QStringList{"-2.500", "", ""}));
    EXPECT_EQ(Row(*dialog, 2).mid(4), (QStringList{"1.000", "2.000", "3.000"}));

    dialog->accept();
    ASSERT_EQ(model.appliedRecords.size(), 1u);
    EXPECT_EQ(model.appliedRecords[0].key, (5 << 8) | 1);
    EXPECT_EQ(model.appliedRecords[0].generationShare, -2.5);
}

TEST_F(DlgLoadDirectionsTest, ManyRowsTakeTheCheckedFactorsTyped) {
    auto dialog = Open();
    ThenOk([](QDialog& edit) {
        // The first row with generation and the first with load show theirs.
        EXPECT_EQ(FindControl<QLineEdit>(edit, CDlgEditAllDirections::kActiveLoadId)->text(), "0.123");
        EXPECT_EQ(FindControl<QLineEdit>(edit, CDlgEditAllDirections::kReactiveLoadId)->text(), "-0.5");
        Type(edit, CDlgEditAllDirections::kGenerationId, "1.5");
        Type(edit, CDlgEditAllDirections::kReactiveLoadId, "0.75");
        Click(edit, CDlgEditAllDirections::kAdjustActiveLoadId);
        EXPECT_FALSE(FindControl<QLineEdit>(edit, CDlgEditAllDirections::kActiveLoadId)->isEnabled());
    });
    Click(*dialog, Dialog::kAdjustAllId);
    EXPECT_EQ(Row(*dialog, 0).mid(4), (QStringList{"1.500", "", ""}));
    EXPECT_EQ(Row(*dialog, 1).mid(4), (QStringList{"", "0.123", "0.750"}));
    EXPECT_EQ(Row(*dialog, 2).mid(4), (QStringList{"1.500", "2.000", "0.750"}));
}

TEST_F(DlgLoadDirectionsTest, AutoAdjustSetsEveryFactorARowHasToOne) {
    auto dialog = Open();
    Click(*dialog, Dialog::kAutoAdjustId);
    EXPECT_EQ(Row(*dialog, 0).mid(4), (QStringList{"1.000", "", ""}));
    EXPECT_EQ(Row(*dialog, 1).mid(4), (QStringList{"", "1.000", "1.000"}));
    dialog->accept();
    // "Mill" had 1 for kPg already, but its load factors changed.
    ASSERT_EQ(model.appliedRecords.size(), 3u);
    EXPECT_EQ(model.appliedRecords[2].generationShare, 1.0);
    EXPECT_EQ(model.appliedRecords[2].pLoadShare, 1.0);
}

TEST_F(DlgLoadDirectionsTest, OkStoresThePathAndCancelNothing) {
    // Writing a file without a name is refused, the model untouched.
    auto dialog = Open();
    Click(*dialog, Dialog::kAutoAdjustId);
    Click(*dialog, Dialog::kCreateOutputId);
    Type(*dialog, Dialog::kOutputPathId, "");
    dialog->accept();
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0].text, "Please specify output file!");
    EXPECT_EQ(model.continuationResultSets, 0);
    EXPECT_TRUE(model.appliedRecords.empty());

    dialog->reject();
    EXPECT_EQ(model.continuationResultSets, 0);
    EXPECT_TRUE(model.appliedRecords.empty());

    // With no rows the path is stored all the same.
    cursor.buses.resize(1);
    auto empty = Open();
    Click(*empty, Dialog::kCreateOutputId);
    Type(*empty, Dialog::kOutputPathId, "curve.txt");
    empty->accept();
    EXPECT_EQ(empty->result(), QDialog::Accepted);
    EXPECT_TRUE(empty->CreateOutput());
    EXPECT_EQ(model.continuationResult, "curve.txt");
    EXPECT_EQ(model.continuationResultSets, 1);
    EXPECT_TRUE(model.appliedRecords.empty());
}

TEST_F(DlgLoadDirectionsTest, TheChosenOutputFileGetsTxtWithoutAnExtension) {
    struct Case {
        QString chosen;
        QString path;
    };
    for (const Case& c : {Case{"/data/run", "/data/run.TXT"}, Case{"/data/run.prn", "/data/run.prn"},
                          Case{"/data.v2/run", "/data.v2/run.TXT"}}) {
        auto dialog = Open();
        Click(*dialog, Dialog::kCreateOutputId);
        prompts.fileNames.push_back(c.chosen);
        Click(*dialog, Dialog::kBrowseId);
        EXPECT_EQ(FindControl<QLineEdit>(*dialog, Dialog::kOutputPathId)->text(), c.path);
    }
    const auto& chooser = prompts.prompts.back();
    EXPECT_EQ(chooser.kind, ScriptedPromptService::Kind::SaveFile);
    ASSERT_EQ(chooser.filters.size(), 2u);
    EXPECT_EQ(chooser.filters[0].description, "Result Data (*.PRN,*.TXT,*.DAT) ");
    EXPECT_EQ(chooser.filters[0].patterns, "*.PRN;*.TXT;*.DAT");

    // Cancelled: the path stays.
    auto dialog = Open();
    Click(*dialog, Dialog::kBrowseId);
    EXPECT_EQ(FindControl<QLineEdit>(*dialog, Dialog::kOutputPathId)->text(), "stored.txt");
}

// The same dialog on the program's own model and elements.
class LoadDirectionsOnElements : public ::testing::Test {
protected:
    std::unique_ptr<Dialog> Open() {
        auto dialog = std::make_unique<Dialog>(prompts, *network.model().GetRecordCursor(), network.model());
        dialog->SetUp();
        return dialog;
    }
    Load& AddLoad(Bus& bus, int height, double pShare, double qShare) {
        Load& load = network.Hang<Load>(bus, height);
        load.GetValues()[Load::kPShare] = pShare;
        load.GetValues()[Load::kQShare] = qShare;
        return load;
    }

    ScriptedPromptService prompts;
    DrawnNetwork network;
};

TEST_F(LoadDirectionsOnElements, OkWithoutEditsKeepsEveryShareToTheLastBit) {
    Bus& bus = network.AddBus("B1");
    const double active[] = {-0.123456789, 0.3, 0.1};
    std::vector<Load*> loads;
    for (int i = 0; i < 3; ++i) loads.push_back(&AddLoad(bus, 10 + 10 * i, active[i], 0.1 * (i + 1)));
    auto dialog = Open();
    ASSERT_EQ(List(*dialog).rowCount(), 1);
    prompts.dialogScripts.push_back([](QDialog& edit) { edit.accept(); });
    SelectRows(*dialog, {0});
    Click(*dialog, Dialog::kEditId);
    dialog->accept();
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(SameBits(loads[i]->GetValues()[Load::kPShare], active[i])) << i;
        EXPECT_TRUE(SameBits(loads[i]->GetValues()[Load::kQShare], 0.1 * (i + 1))) << i;
    }
}

TEST_F(LoadDirectionsOnElements, BusesJoinedByAClosedSwitchKeepTheirOwnRows) {
    Bus& first = network.AddBus("B1");
    Bus& second = network.AddBus("B2");
    network.Join<Connector>(first, second).SetOn(true);
    Load& firstLoad = AddLoad(first, 10, 1.0, 1.0);
    Load& secondLoad = AddLoad(second, 10, 1.0, 1.0);
    network.model().BuildBusGroups();
    ASSERT_GE(network.model().GetBusGroup(first.GetKey()), 0);

    auto dialog = Open();
    ASSERT_EQ(List(*dialog).rowCount(), 2);
    EXPECT_EQ(List(*dialog).item(0, 0)->text(), "B1");
    EXPECT_EQ(List(*dialog).item(1, 0)->text(), "B2");
    ThenOk(prompts, [](QDialog& edit) { Type(edit, CDlgEditLoadDirection::kActiveLoadId, "4"); });
    SelectRows(*dialog, {1});
    Click(*dialog, Dialog::kEditId);
    dialog->accept();
    EXPECT_EQ(firstLoad.GetValues()[Load::kPShare], 1.0);
    EXPECT_EQ(secondLoad.GetValues()[Load::kPShare], 4.0);
}

TEST_F(LoadDirectionsOnElements, ATypedTotalIsSharedByTheLoadsThatAreOn) {
    Bus& bus = network.AddBus("B1");
    Load& first = AddLoad(bus, 10, 1.0, 0.0);
    Load& second = AddLoad(bus, 20, 1.0, 0.0);
    Load& off = AddLoad(bus, 30, 5.0, 0.0);
    off.SetOn(false);
    auto dialog = Open();
    EXPECT_EQ(Row(*dialog, 0).mid(4), (QStringList{"", "2.000", "0.000"}));
    ThenOk(prompts, [](QDialog& edit) { Type(edit, CDlgEditLoadDirection::kActiveLoadId, "3"); });
    SelectRows(*dialog, {0});
    Click(*dialog, Dialog::kEditId);
    dialog->accept();
    EXPECT_EQ(first.GetValues()[Load::kPShare], 1.5);
    EXPECT_EQ(second.GetValues()[Load::kPShare], 1.5);
    EXPECT_EQ(off.GetValues()[Load::kPShare], 5.0);

    auto reloaded = Open();
    EXPECT_EQ(Row(*reloaded, 0).mid(4), (QStringList{"", "3.000", "0.000"}));
}

}  // namespace
