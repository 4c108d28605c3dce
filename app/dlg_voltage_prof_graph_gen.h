#pragma once

#include <string>
#include <vector>

#include "dialog_base.h"

class QListWidget;

// Chooses the bus voltages of a continuation table to plot as PV curves:
// the columns come ordered by how far the voltage dropped up to the nose,
// the six worst checked; at most twelve are taken.
class CDlgVoltageProfGraphGen : public DialogBase {
public:
    static constexpr int kListId = 1126;
    static constexpr int kSelectAllId = 1129;
    static constexpr int kDeselectAllId = 1130;
    // The most curves one graph takes, and how many are checked at first.
    static constexpr int kMaxChosen = 12;
    static constexpr int kCheckedAtFirst = 6;

    // The table is read when the dialog is set up.
    CDlgVoltageProfGraphGen(PromptService& prompts, std::string dataFile, QWidget* parent = nullptr);

    // Read after OK: whether the table gave a curve and a name was chosen,
    // the X column's name and the chosen Y names in list order.
    bool Usable() const { return usable_; }
    const std::string& XName() const { return xName_; }
    const std::vector<std::string>& ChosenNames() const { return chosen_; }

    void SelectAll() { CheckEvery(true); }
    void DeselectAll() { CheckEvery(false); }

protected:
    void OnInitDialog() override;
    void DoDataExchange(DataExchange&) override {}
    void Commit() override;

private:
    void CheckEvery(bool checked);

    std::string dataFile_;
    bool usable_ = false;
    std::string xName_;
    std::vector<std::string> yNames_;  // in list order, as the table spells them
    std::vector<std::string> chosen_;
    QListWidget* list_;
};
