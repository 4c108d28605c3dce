#include "element_dialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>

#include "control_id.h"
#include "element_interface.h"

ElementDialog::ElementDialog(IElement& element, PromptService& prompts, QWidget* parent)
    : DialogBase(prompts, parent), element_(element) {}

bool ElementDialog::OwnerLabelMode() const { return element_.GetOwnerLabelMode(); }

void ElementDialog::OnInitDialog() {
    arrays_ = ElementArrays(element_);
    LoadMembers();
    UpdateData(false);
    ArrangeControls();
}

void ElementDialog::Commit() {
    const bool changed = WriteBack();
    element_.UpdateResultLabel(nullptr);
    // The command carries what the label update has just recomputed.
    if (changed) element_.SendChangeCommand();
}

QLineEdit* ElementDialog::AddField(QGridLayout& grid, int row, int column, const char* text, int id,
                                   QLabel** label) {
    auto* field = new QLineEdit(this);
    SetControlId(*field, id);
    auto* caption = new QLabel(QString::fromLatin1(text), this);
    caption->setBuddy(field);
    grid.addWidget(caption, row, column);
    grid.addWidget(field, row, column + 1);
    if (label != nullptr) *label = caption;
    return field;
}

QLineEdit* ElementDialog::AddReadOnlyField(QGridLayout& grid, int row, int column, const char* text, int id) {
    QLineEdit* field = AddField(grid, row, column, text, id);
    SetReadOnly(*field, true);
    return field;
}

void ElementDialog::SetReadOnly(QLineEdit& field, bool readOnly) {
    field.setReadOnly(readOnly);
    QPalette shading = field.palette();
    shading.setBrush(QPalette::Base, QApplication::palette(&field).brush(readOnly ? QPalette::Window : QPalette::Base));
    field.setPalette(shading);
}
