#pragma once

#include <initializer_list>
#include <map>
#include <optional>

#include <QDialog>
#include <QString>

#include "data_exchange.h"
#include "prompt_service.h"

class QLayout;
class QLineEdit;

// What every dialog of the program shares: its fields are loaded once
// before it shows; OK reads them back, runs the dialog's own checks and
// writes only when both pass, else the dialog stays open; Cancel writes
// nothing. Every modal run it starts (itself, a smaller dialog, a message,
// a file, font or colour chooser) goes through the prompt service, so a
// scripted service runs it without a screen.
class DialogBase : public QDialog {
    Q_OBJECT

public:
    explicit DialogBase(PromptService& prompts, QWidget* parent = nullptr);

    // Runs OnInitDialog the first time only, after ordering the tab chain
    // as the layout holds the controls, and gives the first control the
    // focus; DoModal calls it, tests call it to look at a dialog without
    // running it.
    void SetUp();
    // Sets up and runs the dialog modally; QDialog::Accepted after OK.
    int DoModal();

    // OK, however it is pressed. Cancel is QDialog's: it writes nothing.
    void accept() override;

    // A message box owned by the dialog, with the program's name as caption.
    PromptAnswer Message(const QString& text, PromptIcon icon = PromptIcon::Warning,
                         PromptButtons buttons = PromptButtons::Ok);
    PromptService& Prompts() { return prompts_; }

    // Whether the field's text differs from the one shown when the dialog
    // was set up; a field untouched since then never counts as changed.
    bool FieldChanged(const QLineEdit& field) const;
    // The field the last exchange refused, or null.
    QWidget* RefusedField() const { return refusedField_; }

protected:
    // Moves the fields in the direction of `exchange`.
    virtual void DoDataExchange(DataExchange& exchange) = 0;
    // Copies the values into the members and loads the controls; by
    // default only the load.
    virtual void OnInitDialog();
    // The dialog's own checks after the exchange accepted every field; a
    // refusal shows its message and answers false.
    virtual bool Validate() { return true; }
    // Writes the accepted values wherever they belong.
    virtual void Commit() {}

    // Loads (save false) or reads back (save true) every field; false when
    // a field was refused.
    bool UpdateData(bool save);

    // Lays out the dialog: its content (with the widgets below it, in
    // order), then OK and Cancel.
    void SetContent(QLayout* content, std::initializer_list<QWidget*> below = {});

    // When a range applies to a number field.
    enum class RangeCheck { Always, WhenTyped };
    // A number field whose member holds the exact value; the field shows
    // it to 15 digits. Saving, a field left as it was shown keeps the
    // member exactly (so an OK without changes rounds nothing) and, with
    // WhenTyped, is not range-checked either.
    void ExactNumber(DataExchange& exchange, QLineEdit& field, double& value,
                     std::optional<FieldRange<double>> range = std::nullopt, RangeCheck check = RangeCheck::Always);

private:
    PromptService& prompts_;
    bool setUp_ = false;
    QWidget* refusedField_ = nullptr;
    std::map<const QLineEdit*, QString> shownTexts_;
};
