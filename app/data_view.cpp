#include "data_view.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QVBoxLayout>

#include "control_id.h"
#include "grid_list_ctrl.h"
#include "network_records.h"
#include "record_cursor.h"
#include "windows_1250.h"

namespace {

// A column after "No.": a fixed width, or a share of what the list's client
// width leaves over the other columns.
struct Column {
    const char* heading;
    int width = 0;
    int clientLess = 0;
    int shares = 1;
    bool left = false;

    // A named column takes its share of what the others leave, less what
    // they had to widen to show their headings whole.
    int WidthIn(int clientWidth, int widened) const {
        return width > 0 ? width : (clientWidth - clientLess - widened) / shares;
    }
};

constexpr Column Named(const char* heading, int clientLess, int shares = 1) {
    return {heading, 0, clientLess, shares, true};
}
constexpr Column Text(const char* heading, int width) { return {heading, width, 0, 1, true}; }
constexpr Column Value(const char* heading, int width = 75) { return {heading, width, 0, 1, false}; }

constexpr std::array kPvColumns{Named("Name", 565),      Value("Pgen [MW]"), Value("Qgen [MVAr]"),
                                Value("Pload [MW]"),     Value("Qload [MVAr]"), Value("V [kV]"),
                                Value("Theta"),          Value("Vbase [kV]")};
constexpr std::array kPqColumns{Named("Name", 415), Value("Pload [MW]"), Value("Qload [MVAr]"),
                                Value("V [kV]"),    Value("Theta"),      Value("Vbase [kV]")};
constexpr std::array kLineColumns{Named("Name", 640),    Text("From Bus", 75),   Text("To Bus", 75),
                                  Value("Pfrom [MW]"),   Value("Qfrom [MVAr]"),  Value("Pto [MW]"),
                                  Value("Qto [MVAr]"),   Value("Ploss [MW]"),    Value("Qloss [MVAr]")};
constexpr std::array kTransformerColumns{Named("From Bus", 465, 2),   Named("To Bus", 465, 2),
                                         Text("Type", 85),            Value("Tap Min [kV]", 85),
                                         Value("Tap Max [kV]", 85),   Value("Tap From [kV]", 85),
                                         Value("Tap To [kV]", 85)};

struct Page {
    const char* tab;
    int table;
    int filter;  // the cursor's filter of the table: the bus or branch kinds the page lists
    std::span<const Column> columns;
};

const std::array<Page, CDataView::kPageCount> kPages{{
    {"PV Buses", IRecordCursor::BusTable, 2, kPvColumns},
    {"PQ Buses", IRecordCursor::BusTable, 1, kPqColumns},
    {"Power Lines", IRecordCursor::BranchTable, 3, kLineColumns},
    {"Transformers", IRecordCursor::BranchTable, 4, kTransformerColumns},
}};

constexpr int kNumberWidth = 40;

QString Number(double value) { return QString::asprintf("%.3f", value); }
QString Name(const char* name) { return name ? FromWindows1250(name) : QString(); }

std::vector<QString> BusTexts(CDataView::PageType type, const BusRecord& r) {
    const QString kv = Number(r.voltageCopy * r.baseKv);  // the solved p.u. voltage on the bus's base
    if (type == CDataView::PvBuses) {
        return {Name(r.name),       Number(r.generationP), Number(r.generationQ), Number(r.loadP),
                Number(r.loadQ),    kv,                    Number(r.angle),       Number(r.baseKv)};
    }
    return {Name(r.name), Number(r.loadP), Number(r.loadQ), kv, Number(r.angle), Number(r.baseKv)};
}

std::vector<QString> BranchTexts(CDataView::PageType type, const BranchRecord& r) {
    if (type == CDataView::PowerLines) {
        return {Name(r.name),     Name(r.fromName), Name(r.toName),   Number(r.pFrom), Number(r.qFrom),
                Number(r.pTo),    Number(r.qTo),    Number(r.pLoss),  Number(r.qLoss)};
    }
    return {Name(r.fromName),
            Name(r.toName),
            r.kind > BranchRecord::Transformer ? "Regul." : "Fixed",
            Number(r.lowerLimit),
            Number(r.upperLimit),
            Number(r.fromWindingKv),
            Number(r.toWindingKv)};
}

// One numbered row per record, in the cursor's order.
template <typename Record>
void AddRows(IRecordCursor& cursor, CGridListCtrl& list, CDataView::PageType type,
             std::vector<QString> (*texts)(CDataView::PageType, const Record&)) {
    for (Record record; cursor.Next(record);) {
        const int row = list.AddNumberedRow();
        int column = 1;
        for (const QString& text : texts(type, record)) list.SetItemTextIfChanged(row, column++, text);
    }
}

}  // namespace

CDataView::CDataView(PageType type, IRecordCursor* cursor, QWidget* parent)
    : QWidget(parent),
      type_(type),
      cursor_(cursor),
      list_(new CGridListCtrl),
      sbaseField_(new QLineEdit) {
    SetControlId(*list_, kListId);
    SetControlId(*sbaseField_, kSbaseId);
    list_->setFixedWidth(kListWidth);
    list_->setMinimumHeight(320);
    sbaseField_->setReadOnly(true);
    sbaseField_->setFixedWidth(100);
    // Shown disabled: the page lists MW, Mvar and kV only.
    auto* showInPu = new QCheckBox("Show in p.u.");
    SetControlId(*showInPu, kShowInPuId);
    showInPu->setEnabled(false);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel("Sbase:"));
    bottom->addWidget(sbaseField_);
    bottom->addSpacing(20);
    bottom->addWidget(showInPu);
    bottom->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(bottom);
    list_->viewport()->installEventFilter(this);
}

bool CDataView::eventFilter(QObject* watched, QEvent* event) {
    if (setUp_ && watched == list_->viewport() && event->type() == QEvent::Resize) FitNamedColumns();
    return QWidget::eventFilter(watched, event);
}

void CDataView::FitNamedColumns() {
    const Page& page = kPages[static_cast<std::size_t>(type_)];
    int fixed = list_->columnWidth(0);
    for (std::size_t i = 0; i < page.columns.size(); ++i) {
        if (page.columns[i].width > 0) fixed += list_->columnWidth(static_cast<int>(i) + 1);
    }
    const int free = list_->viewport()->width() - fixed;
    for (std::size_t i = 0; i < page.columns.size(); ++i) {
        if (page.columns[i].width == 0) list_->setColumnWidth(static_cast<int>(i) + 1, free / page.columns[i].shares);
    }
}

QString CDataView::TabText(PageType type) { return kPages[static_cast<std::size_t>(type)].tab; }

void CDataView::SetUp() {
    if (setUp_) return;
    setUp_ = true;
    AddColumns();
    sbaseField_->setText("100.00 MVA");
    FillList();
}

void CDataView::AddColumns() {
    const Page& page = kPages[static_cast<std::size_t>(type_)];
    const int clientWidth = list_->width() - 2 * list_->frameWidth();
    list_->setColumnCount(static_cast<int>(page.columns.size()) + 1);
    // A fixed width too narrow for its heading in this font would cut the
    // heading's first letters ("Qgen [MVAr]" read ")gen [MVAr]").
    const QHeaderView& header = *list_->horizontalHeader();
    // The text's margins and the section's two border pixels.
    const int headingMargins = 2 * header.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header) + 2;
    auto fixedWidth = [&](const Column& c) {
        return std::max(c.width, header.fontMetrics().horizontalAdvance(c.heading) + headingMargins);
    };
    int widened = 0;
    for (const Column& c : page.columns) {
        if (c.width > 0) widened += fixedWidth(c) - c.width;
    }
    auto addHeading = [this](int column, const char* text, bool left, int width) {
        auto* heading = new QTableWidgetItem(text);
        heading->setTextAlignment((left ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
        list_->setHorizontalHeaderItem(column, heading);
        list_->setColumnWidth(column, width);
    };
    addHeading(0, "No.", false, kNumberWidth);
    int column = 1;
    for (const Column& c : page.columns) {
        addHeading(column++, c.heading, c.left, c.width > 0 ? fixedWidth(c) : c.WidthIn(clientWidth, widened));
    }
}

void CDataView::FillList() {
    if (!cursor_) return;
    const Page& page = kPages[static_cast<std::size_t>(type_)];
    cursor_->SetTable(page.table, page.filter);
    // Mode 0 reads the values the elements hold without checking them, and
    // every bus gets a row of its own.
    cursor_->SetMode(0);
    cursor_->SetGroupBuses(false);
    cursor_->MoveFirst();
    if (page.table == IRecordCursor::BusTable) {
        AddRows<BusRecord>(*cursor_, *list_, type_, BusTexts);
    } else {
        AddRows<BranchRecord>(*cursor_, *list_, type_, BranchTexts);
    }
}
