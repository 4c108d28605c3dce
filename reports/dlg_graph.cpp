#include "dlg_graph.h"

#include <cfloat>
#include <cmath>
#include <exception>
#include <optional>
#include <vector>

#include <QCloseEvent>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "clipboard_picture.h"
#include "control_id.h"
#include "dlg_graph_properties.h"
#include "dlg_graph_titles.h"
#include "exchange_numbers.h"
#include "graph_header.h"
#include "graph_icon.h"
#include "graph_wnd.h"
#include "picture_file.h"
#include "prompt_service.h"
#include "windows_1250.h"

namespace {

// The size the window opens at; the user may shrink it by 40 pixels each way.
constexpr QSize kInitialSize(620, 440);
constexpr QSize kShrinkLimit(40, 40);

struct RangeField {
    int labelId;
    const char* label;
    int editId;
};
constexpr RangeField kRangeFields[] = {
    {1000, "Xmin", 1001}, {1005, "Xmax:", 1002}, {1006, "Ymin:", 1003}, {1007, "Ymax", 1004}};

struct Button {
    int id;
    const char* text;
    void (CDlgGraph::*handler)();
};

// Runs a step of the interface, which no exception may leave; a step that
// runs out of memory does nothing more.
template <typename Step>
void Guarded(Step step) noexcept {
    try {
        step();
    } catch (const std::exception&) {
    }
}

std::string Text(const char* text) { return text == nullptr ? std::string() : std::string(text); }

// A range bound as the edit holds it; nothing for what is no number or
// does not fit a float.
std::optional<float> RangeValue(const QLineEdit& edit) {
    std::optional<double> value = ParseNumber(edit.text());
    if (!value || std::fabs(*value) > FLT_MAX) return std::nullopt;
    return static_cast<float>(*value);
}

}  // namespace

CDlgGraph::CDlgGraph(CReferenceManager* manager, QWidget* parent, PromptService& prompts)
    : QDialog(parent), prompts_(prompts), plot_(new CGraphWnd(prompts, this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Voltage profiles");
    BuildControls();
    if (manager != nullptr) {
        entry_ = manager->Register(this);
        registrationFailed_ = entry_ < 0;
        if (!registrationFailed_) manager_ = manager;
    }
}

CDlgGraph::~CDlgGraph() { LeaveManager(); }

void CDlgGraph::BuildControls() {
    SetControlId(*plot_, 1014);
    plot_->setMinimumSize(100, 100);
    connect(plot_, &CGraphWnd::Notify, this, [this](unsigned message) {
        if (message == kGraphRangeMessage) OnGraphRange();
    });

    auto* ranges = new QGridLayout;
    for (int row = 0; row < 4; ++row) {
        auto* label = new QLabel(kRangeFields[row].label, this);
        SetControlId(*label, kRangeFields[row].labelId);
        auto* edit = new QLineEdit(this);
        SetControlId(*edit, kRangeFields[row].editId);
        edit->setFixedWidth(90);
        ranges->addWidget(label, row, 0);
        ranges->addWidget(edit, row, 1);
    }

    // The column keeps its distance to the right edge and its top; the plot
    // takes every pixel the window grows by.
    auto* column = new QVBoxLayout;
    column->addLayout(ranges);
    const Button buttons[] = {{1013, "Set Range", &CDlgGraph::OnSetRange}, {1009, "Auto Scale", &CDlgGraph::OnAutoScale},
                              {1010, "Export ...", &CDlgGraph::OnExport},  {1011, "Copy", &CDlgGraph::OnCopy},
                              {1012, "Titles...", &CDlgGraph::OnTitles},   {1015, "Colors...", &CDlgGraph::OnColors}};
    for (const Button& button : buttons) {
        auto* push = new QPushButton(button.text, this);
        SetControlId(*push, button.id);
        push->setAutoDefault(false);
        connect(push, &QPushButton::clicked, this, button.handler);
        column->addWidget(push);
    }
    column->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(plot_, 1);
    layout->addLayout(column, 0);
    resize(kInitialSize);
    setMinimumSize(kInitialSize - kShrinkLimit);
}

QLineEdit& CDlgGraph::RangeEdit(int id) const { return *FindControl<QLineEdit>(*this, id); }

void CDlgGraph::LeaveManager() {
    if (manager_ == nullptr) return;
    manager_->Unregister(entry_, this);
    manager_ = nullptr;
}

int CDlgGraph::Release() {
    // A manager that emptied the entry itself is going away: forget it.
    if (manager_ != nullptr && !manager_->Holds(entry_, this)) manager_ = nullptr;
    if (--references_ > 0) return references_;
    if (initialised_) {
        OnCancel();
    } else {
        LeaveManager();
        delete this;
    }
    return 0;
}

void CDlgGraph::AddRef() { ++references_; }

void CDlgGraph::OnInitDialog() {
    if (initialised_) return;
    initialised_ = true;
    setWindowIcon(GraphIcon());
    plot_->SetNotifyMessage(kGraphRangeMessage);
    setWindowTitle(FromWindows1250(caption_));
    if (plot_->GetGraphType() == GraphType::Categories) {
        RangeEdit(1001).setEnabled(false);
        RangeEdit(1002).setEnabled(false);
    }
    adjustPosition(parentWidget());
    if (cascadeOffset_ > 0) move(pos() + QPoint(cascadeOffset_, cascadeOffset_));
    // The studies delete the file once the command is over, long before
    // the window first paints.
    if (!plot_->IsLoaded()) plot_->LoadData();
}

int CDlgGraph::DoModal() {
    int result = QDialog::Rejected;
    Guarded([&] {
        OnInitDialog();
        // The caller's reference keeps the object after the modal run.
        setAttribute(Qt::WA_DeleteOnClose, false);
        result = prompts_.RunModal(*this);
        setAttribute(Qt::WA_DeleteOnClose, true);
    });
    return result;
}

bool CDlgGraph::Create() {
    bool shown = false;
    Guarded([&] {
        OnInitDialog();
        show();
        shown = true;
    });
    return shown;
}

void CDlgGraph::SetDataFile(const char* path, bool loadNow, int xColumn) {
    Guarded([&] {
        dataFile_ = Text(path);
        plot_->SetDataFile(dataFile_.c_str());
        if (!loadNow) return;
        GraphHeader header = ReadGraphHeader(dataFile_.c_str());
        if (header.status == GraphHeader::Status::CannotOpen) {
            prompts_.MessageBox("Cannot open file:\n" + dataFile_ + "!!", "File open error", PromptIcon::Error,
                                PromptButtons::Ok);
            return;
        }
        if (header.status == GraphHeader::Status::NoData) {
            prompts_.MessageBox("There is no data in input file:\n" + dataFile_ + "!!", "File open error",
                                PromptIcon::Error, PromptButtons::Ok);
            return;
        }
        const std::vector<std::string>& names = header.names;
        const long long x = xColumn < 0 ? static_cast<long long>(names.size()) - 1 : xColumn;
        if (x < 0 || x >= static_cast<long long>(names.size())) return;
        int made = 0;
        for (std::size_t column = 0; column < names.size() && made < kMaxHeaderCurves; ++column) {
            if (static_cast<long long>(column) == x) continue;
            GraphCurve curve;
            curve.xName = names[x];
            curve.yName = names[column];
            curve.xColumn = static_cast<int>(x);
            curve.yColumn = static_cast<int>(column);
            curve.color = kCurveColors[1 + made++];
            plot_->AddCurve(curve);
        }
    });
}

void CDlgGraph::SetXAxisTitle(const char* title) {
    Guarded([&] { plot_->SetXAxisTitle(Text(title)); });
}

void CDlgGraph::SetYAxisTitle(const char* title) {
    Guarded([&] { plot_->SetYAxisTitle(Text(title)); });
}

void CDlgGraph::SetGraphTitle(const char* title) {
    Guarded([&] { plot_->SetGraphTitle(Text(title)); });
}

void CDlgGraph::SetGraphType(int type) { plot_->SetGraphType(type); }

void CDlgGraph::SetXVariable(const char* name) {
    Guarded([&] { xVariable_ = Text(name); });
}

void CDlgGraph::AddYVariable(const char* name) {
    if (yVariables_ >= kMaxYVariables) return;
    Guarded([&] {
        GraphCurve curve;
        curve.color = kCurveColors[yVariables_];
        curve.xName = xVariable_;
        curve.yName = Text(name);
        plot_->AddCurve(curve);
        ++yVariables_;
    });
}

void CDlgGraph::SetCaption(const char* caption) {
    Guarded([&] { caption_ = Text(caption); });
}

void CDlgGraph::SetCascadeOffset(int pixels) { cascadeOffset_ = pixels; }

void CDlgGraph::AddCurve(const GraphCurve& curve) { plot_->AddCurve(curve); }

void CDlgGraph::SetGridLines(bool horizontal, bool vertical) { plot_->SetGridLines(horizontal, vertical); }

void CDlgGraph::OnCancel() {
    LeaveManager();
    QDialog::reject();
}

void CDlgGraph::reject() { OnCancel(); }

void CDlgGraph::closeEvent(QCloseEvent* event) {
    LeaveManager();
    QDialog::closeEvent(event);
}

void CDlgGraph::OnGraphRange() {
    plot_->GetStoredRange(xmin_, xmax_, ymin_, ymax_);
    const float values[] = {xmin_, xmax_, ymin_, ymax_};
    for (int i = 0; i < 4; ++i) RangeEdit(kRangeFields[i].editId).setText(QString::asprintf("%g", values[i]));
}

void CDlgGraph::OnSetRange() {
    float values[4];
    for (int i = 0; i < 4; ++i) {
        QLineEdit& edit = RangeEdit(kRangeFields[i].editId);
        std::optional<float> value = RangeValue(edit);
        if (!value) {
            prompts_.Ask("Please enter a number.", {}, PromptIcon::Warning, PromptButtons::Ok);
            edit.setFocus();
            edit.selectAll();
            return;
        }
        values[i] = *value;
    }
    xmin_ = values[0];
    xmax_ = values[1];
    ymin_ = values[2];
    ymax_ = values[3];
    plot_->SetRange(xmin_, xmax_, ymin_, ymax_);
    plot_->repaint();
}

void CDlgGraph::OnAutoScale() {
    plot_->SetAutoScale(true);
    plot_->repaint();
}

void CDlgGraph::OnExport() {
    std::optional<SaveChoice> choice = prompts_.SaveFile({}, PictureFilters(), {});
    if (!choice) return;
    const PictureFile target = ChosenPictureFile(*choice);
    const QByteArray file = QFile::encodeName(target.path);
    const bool written = target.format == PictureFormat::Bitmap ? plot_->SaveBitmap(file.constData())
                                                                : plot_->SaveMetafile(file.constData());
    if (!written) {
        prompts_.Ask("Cannot create file: " + target.path, "File Creation Error", PromptIcon::Warning,
                     PromptButtons::Ok);
    }
}

void CDlgGraph::OnCopy() {
    std::vector<std::uint8_t> metafile;
    Guarded([&] { metafile = plot_->RecordMetafile(); });
    if (!PutPictureOnClipboard(metafile, plot_->size())) {
        prompts_.Ask("Unable to set Clipboard data", {}, PromptIcon::Warning, PromptButtons::Ok);
    }
}

void CDlgGraph::OnTitles() {
    CDlgGraphTitles titles(plot_->GetGraphTitle(), plot_->GetXAxisTitle(), plot_->GetYAxisTitle(),
                           plot_->GetGraphType() != GraphType::Categories, this);
    if (prompts_.RunModal(titles) != QDialog::Accepted) return;
    plot_->SetGraphTitle(titles.GraphTitle());
    plot_->SetXAxisTitle(titles.XAxisTitle());
    plot_->SetYAxisTitle(titles.YAxisTitle());
    plot_->repaint();
}

void CDlgGraph::OnColors() {
    CDlgGraphProperties properties(*plot_, prompts_, this);
    prompts_.RunModal(properties);
}

IDlgGraph* createGraph(CReferenceManager* manager, QWidget* parent, PromptService& prompts) {
    CDlgGraph* dialog = nullptr;
    try {
        dialog = new CDlgGraph(manager, parent, prompts);
    } catch (const std::exception&) {
        return nullptr;
    }
    if (!dialog->Registered()) {
        delete dialog;
        return nullptr;
    }
    return dialog;
}
