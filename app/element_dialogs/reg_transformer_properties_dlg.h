#pragma once

#include <array>
#include <string>

#include "two_port_dialog.h"

class QComboBox;
class QLabel;

// A regulating transformer: what it regulates (its type), the end it
// controls, which winding carries the variable tap, the taps (kV), the
// limits of the tap or of the phase angle, the phase shift and the
// controlled quantities of the flow-holding types. A remote solver learns
// of a new current ratio.
class RegTransformerPropertiesDlg : public TwoPortDialog {
public:
    enum OwnControlId : int {
        kTypeId = 1023,
        kControlledBusId = 1029,
        kTapAtFromId = 1098,
        kTapAtToId = 1099,
        kFromTapId = 1034,
        kToTapId = 1033,
        kMinimumId = 1040,
        kMaximumId = 1041,
        kMinimumLabelId = 1081,
        kMaximumLabelId = 1082,
        kPhaseShiftId = 1032,
        kCurrentRatioId = 1031,
        kTapStepsId = 1035,
        kFirstQuantityId = 1043,
        kSecondQuantityId = 1044,
        kFirstQuantityLabelId = 1093,
        kSecondQuantityLabelId = 1094,
        kShowRatioId = 1088,
        kLoadFactorId = 1008,
    };
    static const std::array<const char*, 5> kRegulationTypes;

    // The page is the one the element asked for.
    RegTransformerPropertiesDlg(IElement& element, int page, PromptService& prompts, QWidget* parent = nullptr);

protected:
    std::string LoadFactorText() override;
    void LoadMembers() override;
    void ArrangeControls() override;
    void DoDataExchange(DataExchange& exchange) override;
    bool WriteBack() override;

private:
    // Labels, enables and visible fields of the type chosen.
    void ApplyTypeRule();

    int page_;
    int type_ = 0;
    int controlledBus_ = 0;
    int tapSide_ = 0;  // 0 at the From winding, 1 at the To winding
    double fromTap_ = 0;
    double toTap_ = 0;
    double minimum_ = 0;
    double maximum_ = 0;
    double phaseShift_ = 0;
    double currentRatio_ = 0;
    int tapSteps_ = 1;
    double firstQuantity_ = 0;
    double secondQuantity_ = 0;
    int showRatio_ = 0;

    QComboBox* typeList_;
    QComboBox* controlledList_;
    std::array<QRadioButton*, 2> tapSideRadios_{};
    QLineEdit* fromTapField_;
    QLineEdit* toTapField_;
    QLineEdit* minimumField_;
    QLineEdit* maximumField_;
    QLabel* minimumLabel_;
    QLabel* maximumLabel_;
    QLineEdit* phaseShiftField_;
    QLineEdit* currentRatioField_;
    QLabel* currentRatioLabel_;
    QLineEdit* tapStepsField_;
    QLabel* tapStepsLabel_;
    QLineEdit* firstQuantityField_;
    QLineEdit* secondQuantityField_;
    QLabel* firstQuantityLabel_;
    QLabel* secondQuantityLabel_;
    QCheckBox* showRatioCheck_;
};
