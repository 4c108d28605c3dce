#include "dlg_graph_properties.h"

#include <initializer_list>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "colour_combo.h"
#include "control_id.h"
#include "exchange_messages.h"
#include "exchange_numbers.h"
#include "graph_wnd.h"
#include "pen_prop_combo.h"
#include "prompt_service.h"
#include "up_down.h"
#include "windows_1250.h"

namespace {

template <typename Control>
Control* Named(Control* control, int id) {
    SetControlId(*control, id);
    return control;
}

// Turns editing off for as long as the controls are being loaded.
class EditingPause {
public:
    explicit EditingPause(bool& editing) : editing_(editing), was_(editing) { editing_ = false; }
    ~EditingPause() { editing_ = was_; }
    EditingPause(const EditingPause&) = delete;
    EditingPause& operator=(const EditingPause&) = delete;

private:
    bool& editing_;
    bool was_;
};

}  // namespace

CDlgGraphProperties::CDlgGraphProperties(CGraphWnd& plot, PromptService& prompts, QWidget* parent)
    : QDialog(parent),
      plot_(plot),
      prompts_(prompts),
      curves_(Named(new QComboBox(this), 1008)),
      colour_(Named(new CColourCombo(this), 1009)),
      style_(Named(new CPenPropCombo(this), 1010)),
      width_(Named(new QLineEdit(this), 1013)),
      widthArrows_(Named(new UpDown(this), 1012)),
      circles_(Named(new QCheckBox("Show circles on connection points", this), 1025)),
      background_(Named(new CColourCombo(this), 1011)),
      apply_(Named(new QPushButton("Apply", this), 3)) {
    setWindowTitle("Graph Properties");
    BuildControls();
    OnInitDialog();
}

void CDlgGraphProperties::BuildControls() {
    auto* widthRow = new QHBoxLayout;
    widthRow->setSpacing(0);
    width_->setFixedWidth(60);
    widthRow->addWidget(width_);
    widthRow->addWidget(widthArrows_);
    widthRow->addStretch();

    auto* lines = new QGroupBox("Lines", this);
    auto* lineFields = new QFormLayout(lines);
    lineFields->addRow("Color:", colour_);
    lineFields->addRow("Type:", style_);
    lineFields->addRow("Width:", widthRow);
    lineFields->addRow(circles_);

    auto* backgroundBox = new QGroupBox("Background", this);
    auto* backgroundFields = new QFormLayout(backgroundBox);
    backgroundFields->addRow("Color:", background_);

    auto* curveRow = new QFormLayout;
    curveRow->addRow("Curve:", curves_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = Named(buttons->addButton(QDialogButtonBox::Ok), 1);
    buttons->addButton(apply_, QDialogButtonBox::ApplyRole);
    Named(buttons->addButton(QDialogButtonBox::Cancel), 2);
    ok->setDefault(true);
    apply_->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(curveRow);
    layout->addWidget(lines);
    layout->addWidget(backgroundBox);
    layout->addWidget(buttons);

    for (QComboBox* combo : {curves_, static_cast<QComboBox*>(colour_), static_cast<QComboBox*>(style_),
                             static_cast<QComboBox*>(background_)}) {
        combo->setMinimumWidth(200);
    }
    connect(curves_, &QComboBox::currentIndexChanged, this, &CDlgGraphProperties::OnCurveChanged);
    connect(colour_, &QComboBox::currentIndexChanged, this, &CDlgGraphProperties::OnColourChanged);
    connect(style_, &QComboBox::currentIndexChanged, this, &CDlgGraphProperties::OnStyleChanged);
    connect(width_, &QLineEdit::textChanged, this, &CDlgGraphProperties::OnWidthChanged);
    connect(circles_, &QCheckBox::clicked, this, &CDlgGraphProperties::OnCirclesClicked);
    connect(background_, &QComboBox::currentIndexChanged, this, &CDlgGraphProperties::OnBackgroundChanged);
    connect(apply_, &QPushButton::clicked, this, &CDlgGraphProperties::OnApply);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgGraphProperties::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgGraphProperties::reject);
}

void CDlgGraphProperties::OnInitDialog() {
    colour_->Fill();
    background_->Fill();
    // Editing is off until the end: nothing shown here counts as an edit.
    for (const GraphCurve& curve : plot_.GetCurves()) {
        working_.push_back(curve);
        curves_->addItem(FromWindows1250(curve.yName));
    }
    // Applying writes the background whatever was edited: it starts as the
    // plot's own, so that a colour no name has is kept.
    backgroundColour_ = plot_.GetBackgroundColor();
    background_->SelectColour(backgroundColour_);
    ShowCurve(curves_->currentIndex());

    if (working_.empty()) {
        for (QWidget* control :
             std::initializer_list<QWidget*>{curves_, colour_, style_, width_, widthArrows_, circles_}) {
            control->setEnabled(false);
        }
    }
    if (plot_.GetGraphType() == GraphType::Categories) {
        for (QWidget* control : std::initializer_list<QWidget*>{style_, curves_, circles_, width_, widthArrows_}) {
            control->setEnabled(false);
        }
    }
    widthArrows_->SetBuddy(width_);
    widthArrows_->SetRange(kMinWidth, kMaxWidth);
    editing_ = true;
    apply_->setEnabled(false);
}

GraphCurve* CDlgGraphProperties::EditedCurve() {
    const int index = curves_->currentIndex();
    if (!editing_ || index < 0 || index >= static_cast<int>(working_.size())) return nullptr;
    return &working_[static_cast<std::size_t>(index)];
}

void CDlgGraphProperties::ShowCurve(int index) {
    if (index < 0 || index >= static_cast<int>(working_.size())) return;
    const EditingPause pause(editing_);
    const GraphCurve& curve = working_[static_cast<std::size_t>(index)];
    colour_->SelectColour(curve.color);
    style_->SelectStyle(curve.penStyle);
    width_->setText(FormatInteger(curve.penWidth + 1));
    circles_->setChecked(curve.showCircles);
}

void CDlgGraphProperties::SetModified() {
    modified_ = true;
    apply_->setEnabled(true);
}

void CDlgGraphProperties::OnCurveChanged(int index) {
    ShowCurve(index);
    apply_->setEnabled(modified_);
}

void CDlgGraphProperties::OnColourChanged() {
    if (GraphCurve* curve = EditedCurve()) {
        curve->color = colour_->GetSelectedColour();
        SetModified();
    }
}

void CDlgGraphProperties::OnStyleChanged() {
    if (GraphCurve* curve = EditedCurve()) {
        curve->penStyle = style_->GetSelectedStyle();
        SetModified();
    }
}

void CDlgGraphProperties::OnWidthChanged() {
    GraphCurve* curve = EditedCurve();
    // An empty or half-typed field waits for the user to go on.
    if (curve == nullptr || !ParseInteger(width_->text())) return;
    if (const std::optional<int> width = ReadWidth()) {
        curve->penWidth = *width - 1;
        SetModified();
    }
}

void CDlgGraphProperties::OnCirclesClicked() {
    if (GraphCurve* curve = EditedCurve()) {
        curve->showCircles = circles_->isChecked();
        SetModified();
    }
}

void CDlgGraphProperties::OnBackgroundChanged() {
    if (!editing_) return;
    backgroundColour_ = background_->GetSelectedColour();
    SetModified();
}

std::optional<int> CDlgGraphProperties::ReadWidth() {
    const std::optional<int> width = ParseInteger(width_->text());
    if (!width) {
        RefuseWidth(ExchangeMessage::NotAnInteger);
        return std::nullopt;
    }
    if (*width < kMinWidth || *width > kMaxWidth) {
        RefuseWidth(
            QString(ExchangeMessage::IntegerOutOfRange).arg(FormatInteger(kMinWidth), FormatInteger(kMaxWidth)));
        return std::nullopt;
    }
    return width;
}

void CDlgGraphProperties::RefuseWidth(const QString& message) {
    prompts_.Ask(message, QString(), PromptIcon::Warning, PromptButtons::Ok);
    width_->setFocus(Qt::OtherFocusReason);
    width_->selectAll();
}

bool CDlgGraphProperties::OnApply() {
    // A field the user cannot reach is not held against the other edits.
    if (width_->isEnabled() && !ReadWidth()) return false;
    if (!modified_) return true;
    plot_.SetBackgroundColor(backgroundColour_);
    CurveArray& curves = plot_.GetCurves();
    for (std::size_t i = 0; i < curves.size() && i < working_.size(); ++i) curves[i] = working_[i];
    plot_.repaint();
    modified_ = false;
    apply_->setEnabled(false);
    return true;
}

void CDlgGraphProperties::accept() {
    if (OnApply()) QDialog::accept();
}
