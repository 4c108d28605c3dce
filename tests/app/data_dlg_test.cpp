#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>

#include "control_id.h"
#include "data_dlg.h"
#include "document_model.h"
#include "grid_list_ctrl.h"
#include "logging_record_cursor.h"
#include "scripted_prompt_service.h"

namespace {

using Texts = std::vector<QString>;

Texts Row(const CGridListCtrl& list, int row) {
    Texts texts;
    for (int column = 0; column < list.columnCount(); ++column) {
        const QTableWidgetItem* cell = list.item(row, column);
        texts.push_back(cell ? cell->text() : QString());
    }
    return texts;
}

Texts Headings(const CGridListCtrl& list) {
    Texts texts;
    for (int column = 0; column < list.columnCount(); ++column)
        texts.push_back(list.horizontalHeaderItem(column)->text());
    return texts;
}

// Shows every page in turn, as a user clicking through the tabs.
void VisitEveryPage(CDataDlg& sheet) {
    for (int page = 0; page < CDataView::kPageCount; ++page) sheet.Tabs().setCurrentIndex(page);
}

// A slack bus, a generator bus, two load buses (kinds 1 and 3), a bus
// group, a line and a fixed and a regulating transformer, with round
// solved values.
class DataSheetTest : public ::testing::Test {
protected:
    ScriptedPromptService prompts;
    LoggingRecordCursor cursor;

    DataSheetTest() {
        cursor.AddGroup(0, 1);
        BusRecord& slack = cursor.AddBus(0x101, 0, "Slack");
        slack.generationP = 100.5;
        slack.generationQ = -20.25;
        slack.voltageCopy = 1.06;
        slack.voltage = 1.0;  // the set-point: not what the sheet shows
        slack.baseKv = 110.0;
        BusRecord& load = cursor.AddBus(0x201, 1, "Load");
        load.loadP = 40.0;
        load.loadQ = 12.125;
        load.voltageCopy = 0.95;
        load.angle = -4.5;
        load.baseKv = 20.0;
        BusRecord& generator = cursor.AddBus(0x301, 2, "Gen");
        generator.generationP = 50.0;
        generator.loadP = 1.0;
        generator.loadQ = 0.5;
        generator.voltageCopy = 1.0;
        generator.angle = 2.25;
        generator.baseKv = 10.5;
        BusRecord& bank = cursor.AddBus(0x401, 3, "Bank");
        bank.voltageCopy = 1.02;
        bank.baseKv = 35.0;
        BranchRecord& line = cursor.AddBranch(0x10a, 0, "L1", "Slack", "Load");
        line.pFrom = 40.5;
        line.qFrom = 13.0;
        line.pTo = -40.0;
        line.qTo = -12.125;
        line.pLoss = 0.5;
        line.qLoss = 0.875;
        BranchRecord& fixed = cursor.AddBranch(0x20b, 1, "T1", "Load", "Gen");
        fixed.lowerLimit = 0;
        fixed.upperLimit = 0;
        fixed.fromWindingKv = 20.0;
        fixed.toWindingKv = 10.5;
        BranchRecord& regulating = cursor.AddBranch(0x30c, 2, "T2", "Gen", "Bank");
        regulating.lowerLimit = 9.0;
        regulating.upperLimit = 12.0;
        regulating.fromWindingKv = 10.5;
        regulating.toWindingKv = 35.0;
    }
};

TEST_F(DataSheetTest, EachPageReadsItsTableWithoutGroupsAndNumbersItsRowsInCursorOrder) {
    struct Case {
        const char* tab;
        std::vector<std::string> calls;
        Texts headings;
        std::vector<Texts> rows;
    };
    // Two rows: the walk ends at the third Next.
    auto calls = [](const char* table) {
        return std::vector<std::string>{table, "SetMode(0)", "SetGroupBuses(false)", "MoveFirst", "Next", "Next",
                                        "Next"};
    };
    const Case cases[] = {
        {"PV Buses",
         calls("SetTable(0, 2)"),
         {"No.", "Name", "Pgen [MW]", "Qgen [MVAr]", "Pload [MW]", "Qload [MVAr]", "V [kV]", "Theta", "Vbase [kV]"},
         {{"1", "Slack", "100.500", "-20.250", "0.000", "0.000", "116.600", "0.000", "110.000"},
          {"2", "Gen", "50.000", "0.000", "1.000", "0.500", "10.500", "2.250", "10.500"}}},
        {"PQ Buses",
         calls("SetTable(0, 1)"),
         {"No.", "Name", "Pload [MW]", "Qload [MVAr]", "V [kV]", "Theta", "Vbase [kV]"},
         {{"1", "Load", "40.000", "12.125", "19.000", "-4.500", "20.000"},
          {"2", "Bank", "0.000", "0.000", "35.700", "0.000", "35.000"}}},
        {"Power Lines",
         {"SetTable(1, 3)", "SetMode(0)", "SetGroupBuses(false)", "MoveFirst", "Next", "Next"},
         {"No.", "Name", "From Bus", "To Bus", "Pfrom [MW]", "Qfrom [MVAr]", "Pto [MW]", "Qto [MVAr]", "Ploss [MW]",
          "Qloss [MVAr]"},
         {{"1", "L1", "Slack", "Load", "40.500", "13.000", "-40.000", "-12.125", "0.500", "0.875"}}},
        {"Transformers",
         calls("SetTable(1, 4)"),
         {"No.", "From Bus", "To Bus", "Type", "Tap Min [kV]", "Tap Max [kV]", "Tap From [kV]", "Tap To [kV]"},
         {{"1", "Load", "Gen", "Fixed", "0.000", "0.000", "20.000", "10.500"},
          {"2", "Gen", "Bank", "Regul.", "9.000", "12.000", "10.500", "35.000"}}},
    };

    // The model hands its cursor out grouping; the sheet's rows are buses.
    cursor.SetGroupBuses(true);
    cursor.TakeCalls();
    CDataDlg sheet(prompts, &cursor);
    sheet.SetUp();
    ASSERT_EQ(sheet.Tabs().count(), CDataView::kPageCount);
    for (int page = 0; page < CDataView::kPageCount; ++page) {
        const Case& c = cases[page];
        SCOPED_TRACE(c.tab);
        // A page reads the cursor when it is first shown, and only then;
        // the first page is shown at once.
        if (page > 0) {
            EXPECT_TRUE(cursor.calls.empty());
        }
        sheet.Tabs().setCurrentIndex(page);
        EXPECT_EQ(cursor.TakeCalls(), c.calls);
        sheet.Tabs().setCurrentIndex(page);
        EXPECT_TRUE(cursor.calls.empty());

        EXPECT_EQ(sheet.Tabs().tabText(page), c.tab);
        const CGridListCtrl& list = sheet.Page(page).List();
        EXPECT_EQ(Headings(list), c.headings);
        ASSERT_EQ(list.rowCount(), static_cast<int>(c.rows.size()));
        for (int row = 0; row < list.rowCount(); ++row)
            EXPECT_EQ(Row(list, row), c.rows[static_cast<std::size_t>(row)]);
    }
}

// Fixed columns keep their width unless their heading needs more in the
// font shown; the named columns take what is left of the client width.
TEST_F(DataSheetTest, ColumnsShareTheListsClientWidthShowHeadingsWholeAndAlignAsTheirValues) {
    struct Case {
        int page;
        std::vector<int> widths;  // -1: a share of what the fixed columns leave of the client width
        int reserve;
    };
    const Case cases[] = {
        {0, {40, -1, 75, 75, 75, 75, 75, 75, 75}, 565},
        {1, {40, -1, 75, 75, 75, 75, 75}, 415},
        {2, {40, -1, 75, 75, 75, 75, 75, 75, 75, 75}, 640},
        {3, {40, -1, -1, 85, 85, 85, 85, 85}, 465},
    };
    CDataDlg sheet(prompts, &cursor);
    sheet.SetUp();
    VisitEveryPage(sheet);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        const CGridListCtrl& list = sheet.Page(c.page).List();
        const int client = list.width() - 2 * list.frameWidth();
        const QHeaderView& header = *list.horizontalHeader();
        // The text's margins and the section's two border pixels.
        const int margins = 2 * header.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header) + 2;
        ASSERT_EQ(list.columnCount(), static_cast<int>(c.widths.size()));
        int widened = 0;
        int total = 0;
        for (int column = 0; column < list.columnCount(); ++column) {
            const int expected = c.widths[static_cast<std::size_t>(column)];
            const int width = list.columnWidth(column);
            total += width;
            if (expected < 0) continue;
            const QString heading = list.horizontalHeaderItem(column)->text();
            const int needed = header.fontMetrics().horizontalAdvance(heading) + margins;
            EXPECT_GE(width, needed) << column;
            if (needed <= expected) {
                EXPECT_EQ(width, expected) << column;
            }
            widened += width - expected;
        }
        EXPECT_NEAR(total, client, 1);
        const int shared = c.page == 3 ? (client - c.reserve - widened) / 2 : client - c.reserve - widened;
        for (int column = 0; column < list.columnCount(); ++column) {
            const int expected = c.widths[static_cast<std::size_t>(column)];
            if (expected < 0) {
                EXPECT_EQ(list.columnWidth(column), shared) << column;
            }
            // Names and the transformer's type read from the left, numbers from the right.
            const bool left = expected < 0 || (c.page == 2 && (column == 2 || column == 3)) ||
                              (c.page == 3 && column == 3);
            EXPECT_EQ(list.horizontalHeaderItem(column)->textAlignment() & Qt::AlignHorizontal_Mask,
                      left ? Qt::AlignLeft : Qt::AlignRight)
                << column;
        }
        EXPECT_EQ(FindControl<QLineEdit>(sheet.Page(c.page), CDataView::kSbaseId)->text(), "100.00 MVA");
        EXPECT_FALSE(FindControl<QCheckBox>(sheet.Page(c.page), CDataView::kShowInPuId)->isEnabled());
    }
}

TEST_F(DataSheetTest, ANetworkWithoutGeneratorBusesShowsAnEmptyFirstPage) {
    std::erase_if(cursor.buses, [](const BusRecord& bus) { return bus.kind == 0 || bus.kind == 2; });
    CDataDlg sheet(prompts, &cursor);
    sheet.SetUp();
    EXPECT_EQ(sheet.Page(CDataView::PvBuses).List().rowCount(), 0);
    sheet.Tabs().setCurrentIndex(CDataView::PqBuses);
    EXPECT_EQ(sheet.Page(CDataView::PqBuses).List().rowCount(), 2);
}

TEST_F(DataSheetTest, PrintEndsTheSheetAcceptedAndCloseRejected) {
    for (bool print : {true, false}) {
        CDataDlg sheet(prompts, &cursor);
        prompts.dialogScripts.push_back([&](QDialog&) { (print ? sheet.PrintButton() : sheet.CloseButton()).click(); });
        EXPECT_EQ(sheet.DoModal(), print ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(prompts.prompts.back().caption, "Data tabular view");
        EXPECT_EQ(sheet.PrintButton().text(), "Print");
        EXPECT_EQ(sheet.CloseButton().text(), "Close");
    }
}

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The records a page should show, read from the model as it hands them out.
template <typename Record>
std::vector<Record> RecordsOf(PowerSystem& model, int table, int filter) {
    IRecordCursor& cursor = *model.GetRecordCursor();
    cursor.SetTable(table, filter);
    cursor.SetMode(0);
    cursor.SetGroupBuses(false);
    cursor.MoveFirst();
    std::vector<Record> records;
    for (Record record; cursor.Next(record); record = Record{}) records.push_back(record);
    return records;
}

TEST(DataSheet, TheSolvedIeee14SampleShowsEachBusAndBranchOnceWithTheModelsValues) {
    DocumentModel model;
    model.Load(ReadFile(EXAMPLES_DIR "/ieee14.pf"));
    ASSERT_EQ(model->RunSolver(nullptr, nullptr, nullptr), 1);
    const auto generatorBuses = RecordsOf<BusRecord>(*model, 0, 2);
    const auto loadBuses = RecordsOf<BusRecord>(*model, 0, 1);
    const auto lines = RecordsOf<BranchRecord>(*model, 1, 3);
    const auto transformers = RecordsOf<BranchRecord>(*model, 1, 4);
    ASSERT_EQ(generatorBuses.size(), 5u);  // the slack bus and the four voltage-controlled buses
    ASSERT_EQ(loadBuses.size(), 9u);
    ASSERT_EQ(lines.size(), 17u);
    ASSERT_EQ(transformers.size(), 3u);

    ScriptedPromptService prompts;
    CDataDlg sheet(prompts, model->GetRecordCursor());
    sheet.SetUp();
    VisitEveryPage(sheet);
    auto number = [](double value) { return QString::asprintf("%.3f", value); };
    const CGridListCtrl& pv = sheet.Page(CDataView::PvBuses).List();
    const CGridListCtrl& pq = sheet.Page(CDataView::PqBuses).List();
    ASSERT_EQ(pv.rowCount(), 5);
    for (int row = 0; row < 5; ++row) {
        const BusRecord& bus = generatorBuses[static_cast<std::size_t>(row)];
        EXPECT_EQ(Row(pv, row), (Texts{QString::number(row + 1), bus.name, number(bus.generationP),
                                       number(bus.generationQ), number(bus.loadP), number(bus.loadQ),
                                       number(bus.voltageCopy * bus.baseKv), number(bus.angle), number(bus.baseKv)}));
    }
    ASSERT_EQ(pq.rowCount(), 9);
    for (int row = 0; row < 9; ++row) {
        const BusRecord& bus = loadBuses[static_cast<std::size_t>(row)];
        EXPECT_EQ(Row(pq, row), (Texts{QString::number(row + 1), bus.name, number(bus.loadP), number(bus.loadQ),
                                       number(bus.voltageCopy * bus.baseKv), number(bus.angle), number(bus.baseKv)}));
    }
    // The case's solution: the slack bus sends about 232 MW; every voltage
    // in kV is the solved voltage its bus holds on the bus's nominal kV.
    EXPECT_EQ(pv.item(0, 1)->text(), "Bus 1");
    EXPECT_NEAR(pv.item(0, 2)->text().toDouble(), 232.4, 0.5);
    for (const auto& [list, buses] : {std::pair{&pv, &generatorBuses}, std::pair{&pq, &loadBuses}}) {
        const int column = list == &pv ? 6 : 4;
        for (int row = 0; row < list->rowCount(); ++row) {
            const double* bus = model->FindByKey((*buses)[static_cast<std::size_t>(row)].key)->GetValues();
            EXPECT_EQ(list->item(row, column)->text(), number(bus[Bus::kVoltage] * bus[Bus::kNominalKv])) << row;
        }
    }
    const CGridListCtrl& lineList = sheet.Page(CDataView::PowerLines).List();
    ASSERT_EQ(lineList.rowCount(), 17);
    for (int row = 0; row < 17; ++row) {
        const BranchRecord& line = lines[static_cast<std::size_t>(row)];
        EXPECT_EQ(Row(lineList, row),
                  (Texts{QString::number(row + 1), line.name, line.fromName, line.toName, number(line.pFrom),
                         number(line.qFrom), number(line.pTo), number(line.qTo), number(line.pLoss),
                         number(line.qLoss)}));
        EXPECT_GT(std::hypot(line.pFrom, line.qFrom), 0.1);  // solved flows, not the drawing's zeros
    }
    const CGridListCtrl& transformerList = sheet.Page(CDataView::Transformers).List();
    ASSERT_EQ(transformerList.rowCount(), 3);
    for (int row = 0; row < 3; ++row) {
        const BranchRecord& transformer = transformers[static_cast<std::size_t>(row)];
        EXPECT_EQ(Row(transformerList, row),
                  (Texts{QString::number(row + 1), transformer.fromName, transformer.toName, "Fixed",
                         number(transformer.lowerLimit), number(transformer.upperLimit),
                         number(transformer.fromWindingKv), number(transformer.toWindingKv)}));
    }
}

// The sample's 17 lines need a vertical scroll bar on screen: its width is
// taken from the names, so the last column stays in view.
TEST(DataSheet, AVerticalScrollBarTakesItsRoomFromTheNames) {
    DocumentModel model;
    model.Load(ReadFile(EXAMPLES_DIR "/ieee14.pf"));
    ScriptedPromptService prompts;
    CDataDlg sheet(prompts, model->GetRecordCursor(), nullptr, CDataView::PowerLines);
    sheet.SetUp();
    sheet.show();
    QApplication::processEvents();
    const CGridListCtrl& lines = sheet.Page(CDataView::PowerLines).List();
    ASSERT_TRUE(lines.verticalScrollBar()->isVisible());
    int total = 0;
    for (int column = 0; column < lines.columnCount(); ++column) total += lines.columnWidth(column);
    EXPECT_EQ(total, lines.viewport()->width());
    EXPECT_FALSE(lines.horizontalScrollBar()->isVisible());
}

}  // namespace
