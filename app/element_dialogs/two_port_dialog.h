#pragma once

#include <array>
#include <string>

#include "element_dialog.h"

class QCheckBox;
class QGridLayout;
class QRadioButton;

// What the line and the two transformer dialogs share: the end buses with
// their nominal voltages, the PI equivalent and the rating, the metered end,
// the last solved flows and losses with the load factor, and the label
// checks. They edit the element's two-port data record in place; opening
// one validates nothing, so a stored value outside a field's range is
// reported only at OK.
class TwoPortDialog : public ElementDialog {
public:
    enum ControlId : int {
        kFromNameId = 1020,
        kToNameId = 1021,
        kMeteredFromId = 1086,
        kMeteredToId = 1087,
        kResistanceId = 1024,
        kReactanceId = 1025,
        kConductanceId = 1039,
        kSusceptanceId = 1026,
        kRatingId = 1028,
        kNotificationId = 1053,
        kShowFromId = 1036,
        kShowToId = 1037,
        kShowLoadFactorId = 1038,
        kAsPercentageId = 1132,
        kAsPowerLossId = 1133,
        kFromKvId = 1104,
        kToKvId = 1001,
        kPFromId = 1002,
        kQFromId = 1003,
        kPToId = 1004,
        kQToId = 1005,
        kPLossId = 1006,
        kQLossId = 1007,
    };
    static constexpr const char* kUnconnected = "Unconnected";

    // The texts of a template.
    struct Texts {
        const char* title;
        bool perKm;  // the line's data is per km
        const char* ratingLabel;
        const char* meteredCaption;
        const char* showFromText;
        const char* showToText;
        const char* loadFactorCheckText;
        const char* fromKvLabel;
        const char* toKvLabel;
        int loadFactorId;
    };

protected:
    TwoPortDialog(IElement& element, PromptService& prompts, QWidget* parent, const Texts& texts);

    // The kind's own fields go in rows from kFirstOwnRow of this grid, under
    // the common ones and in the same columns.
    static constexpr int kFirstOwnRow = 10;
    QGridLayout& OwnRows() { return *ownRows_; }
    QGridLayout& ChecksRows() { return *checkRows_; }

    virtual std::string LoadFactorText() = 0;
    // The name of the element at end 0 or 1; empty when none is attached.
    QString EndName(int end) const;

    void LoadMembers() override;
    void ArrangeControls() override;
    void DoDataExchange(DataExchange& exchange) override;
    bool WriteBack() override;

    // The fields the owner's label mode locks on a regulating transformer.
    QLineEdit* resistanceField_;
    QLineEdit* reactanceField_;
    QLineEdit* conductanceField_;
    QLineEdit* susceptanceField_;
    QLineEdit* ratingField_;
    QLineEdit* notificationField_;

private:
    // The two load-factor radios follow the check.
    void EnableLoadFactorStyle();
    void ShowEnds();

    double resistance_ = 0;
    double reactance_ = 0;
    double conductance_ = 0;
    double susceptance_ = 0;
    double rating_ = 0;
    double notification_ = 0;
    int metered_ = 0;
    int showFrom_ = 0;
    int showTo_ = 0;
    int showLoadFactor_ = 0;
    int loadFactorStyle_ = 0;  // 0 as a percentage, 1 as the power loss

    QLineEdit* fromName_;
    QLineEdit* toName_;
    QLineEdit* fromKv_;
    QLineEdit* toKv_;
    std::array<QLineEdit*, 6> flowFields_{};  // P and Q each way, then the losses
    QLineEdit* loadFactor_;
    std::array<QRadioButton*, 2> meteredRadios_{};
    QCheckBox* showFromCheck_;
    QCheckBox* showToCheck_;
    QCheckBox* showLoadFactorCheck_;
    std::array<QRadioButton*, 2> loadFactorRadios_{};
    QGridLayout* ownRows_;
    QGridLayout* checkRows_;
};
