#pragma once

#include "dialog_base.h"
#include "element_arrays.h"

class IElement;
class QGridLayout;
class QLabel;
class QLineEdit;

// The frame of every element properties dialog. At set-up it takes the
// element's value and flag arrays once and copies what it shows into its
// members; OK, once the exchange and the dialog's own checks pass, writes
// the members back into the arrays in place (and the name where one is
// edited), lets the element rebuild its labels, and sends the element's
// change command to a remote solver when the dialog says a value that the
// solver holds has changed. Cancel writes nothing.
class ElementDialog : public DialogBase {
public:
    ElementDialog(IElement& element, PromptService& prompts, QWidget* parent);

protected:
    IElement& Element() const { return element_; }
    ElementArrays& Arrays() { return arrays_; }
    bool OwnerLabelMode() const;

    // Copies the element's values into the members, before the fields
    // show them.
    virtual void LoadMembers() = 0;
    // Enables, disables or hides controls once the fields show the members.
    virtual void ArrangeControls() {}
    // Writes the members into the arrays and the name; true when the
    // remote solver is to learn of the change.
    virtual bool WriteBack() = 0;

    // Layout helpers: a field or a read-only text with its label in the
    // two columns of `grid` from `column`; the label is returned through
    // `label` when asked for.
    QLineEdit* AddField(QGridLayout& grid, int row, int column, const char* text, int id,
                        QLabel** label = nullptr);
    QLineEdit* AddReadOnlyField(QGridLayout& grid, int row, int column, const char* text, int id);
    // A read-only field is shaded like the dialog, so that it does not
    // look like one to type into.
    static void SetReadOnly(QLineEdit& field, bool readOnly);

private:
    void OnInitDialog() final;
    void Commit() final;

    IElement& element_;
    ElementArrays arrays_;
};
