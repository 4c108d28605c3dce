#include "dlg_graph_titles.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "control_id.h"
#include "windows_1250.h"

namespace {

QLineEdit* TitleEdit(int id, const std::string& text, QWidget* parent) {
    auto* edit = new QLineEdit(FromWindows1250(text), parent);
    SetControlId(*edit, id);
    edit->setMinimumWidth(260);
    return edit;
}

}  // namespace

CDlgGraphTitles::CDlgGraphTitles(const std::string& graphTitle, const std::string& xAxisTitle,
                                 const std::string& yAxisTitle, bool xAxisTitled, QWidget* parent)
    : QDialog(parent),
      graphTitle_(TitleEdit(1008, graphTitle, this)),
      xAxisTitle_(TitleEdit(1006, xAxisTitle, this)),
      yAxisTitle_(TitleEdit(1007, yAxisTitle, this)) {
    setWindowTitle("Graph Titles");
    xAxisTitle_->setEnabled(xAxisTitled);

    auto* fields = new QFormLayout;
    fields->addRow("Graph title:", graphTitle_);
    fields->addRow("X Axis title:", xAxisTitle_);
    fields->addRow("Y Axis title:", yAxisTitle_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    SetControlId(*buttons->button(QDialogButtonBox::Ok), 1);
    SetControlId(*buttons->button(QDialogButtonBox::Cancel), 2);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
}

std::string CDlgGraphTitles::GraphTitle() const { return ToWindows1250(graphTitle_->text()); }
std::string CDlgGraphTitles::XAxisTitle() const { return ToWindows1250(xAxisTitle_->text()); }
std::string CDlgGraphTitles::YAxisTitle() const { return ToWindows1250(yAxisTitle_->text()); }
