#pragma once

#include <string>
#include <string_view>

#include "dialog_base.h"

class CADODataBase;
class CDBCombo;
class IRecordCursor;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Saves the model's present results as a new case of its system in the
// results database, or deletes one case or every result of the model.
// Every outcome is told in a message box; a save that fails keeps the
// dialog open with nothing of it stored.
class CDlgSaveResults : public DialogBase {
public:
    enum class Mode { Save, Delete };

    static constexpr int kDescriptionId = 1130;
    static constexpr int kDescriptionLabelId = 1151;
    static constexpr int kCaseListId = 1148;
    static constexpr int kDeleteAllId = 1103;

    // The system name is the document's title (Windows-1250). The database
    // and the model's cursor are borrowed.
    CDlgSaveResults(PromptService& prompts, CADODataBase& database, std::string systemName, IRecordCursor& cursor,
                    Mode mode, QWidget* parent = nullptr);

    // The system's ID when getSystem finds the name; says so when the
    // query cannot run.
    bool GetSystemID(int* id);
    // The system's cases, by description, into the case list; the first
    // selected. False, the list untouched, when there are none.
    bool FillSolutions();
    // Each answers whether the dialog may close.
    bool SaveResults();
    bool DeleteResults();

    void accept() override;

    QPushButton* OkButton() const { return okButton_; }

protected:
    void DoDataExchange(DataExchange& exchange) override;
    void OnInitDialog() override;

private:
    void Tell(std::string_view text);

    CADODataBase& database_;
    std::string systemName_;
    IRecordCursor& cursor_;
    Mode mode_;
    std::string description_;
    int deleteAll_ = 0;
    QLabel* descriptionLabel_;
    QLineEdit* descriptionField_;
    CDBCombo* caseList_;
    QCheckBox* deleteAllBox_;
    QPushButton* okButton_;
};
