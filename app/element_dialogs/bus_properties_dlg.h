#pragma once

#include <array>
#include <string>
#include <vector>

#include "element_dialog.h"

class QCheckBox;
class QComboBox;

// The properties of a bus, a horizontal bus, a network equivalent or a
// connection node: name, kind, voltages (kV in the fields, p.u. of the
// nominal voltage in the element), the remote voltage control, the bar's
// length and the two label checks, with the last solved injections beside
// them. A network equivalent shows its injection label check in place of
// the length and keeps its injections; a connection node has no kind or
// length to edit.
class BusPropertiesDlg : public ElementDialog {
public:
    enum ControlId : int {
        kNameId = 1131,
        kTypeId = 1002,
        kVoltageId = 1003,
        kAngleId = 1004,
        kDesiredVoltageId = 1008,
        kNominalVoltageId = 1005,
        kMinVoltageId = 1009,
        kMaxVoltageId = 1010,
        kShareId = 1017,
        kControlledBusId = 1018,
        kLengthId = 1051,
        kLoadPId = 1084,
        kLoadQId = 1011,
        kGenerationPId = 1012,
        kGenerationQId = 1013,
        kShuntPId = 1014,
        kShuntQId = 1015,
        kSolvedVoltageId = 1016,
        kShowNameId = 1006,
        kShowVoltageId = 1007,
        kShowInjectionId = 1019,
        kMinVoltageLabelId = 1154,
        kMaxVoltageLabelId = 1155,
    };
    // The bus kinds in the order of their codes.
    static const std::array<const char*, 9> kBusTypes;
    // The one kind that regulates a remote bus.
    static constexpr int kRemoteControlType = 8;

    static constexpr const char* kNominalNotPositive = "Base (nominal) voltage must be greather than zero!!";
    static constexpr const char* kDesiredNotPositive = "Desired voltage must be greather than zero!!";
    static constexpr const char* kDesiredOutOfBand = "Desired voltage should be in +-20% of nominal voltage!";
    static constexpr const char* kLimitsAroundDesired =
        "Min and maximum values are not correctly assigned.\nVmin must be less than Vdesired\nVmax must be "
        "greather than Vdesired!";

    BusPropertiesDlg(IElement& element, PromptService& prompts, QWidget* parent = nullptr);

protected:
    void LoadMembers() override;
    void ArrangeControls() override;
    void DoDataExchange(DataExchange& exchange) override;
    bool Validate() override;
    bool WriteBack() override;

private:
    bool IsNetworkEquivalent() const;
    // The buses at the far ends of the bus's lines and transformers, and
    // the one it regulates.
    void LoadControlledBuses();
    // The last solved injections beside the fields, when the bus has any.
    void ShowSolvedValues();
    // Only the remote-control kind edits the controlled bus and the share;
    // only the slack bus holds an angle of its own.
    void ApplyTypeRule();
    // A limit in kV back in p.u.; kept exactly while neither it nor the
    // nominal voltage was edited.
    double PerUnit(double kv, const QLineEdit& field, int index);

    std::string name_;
    int type_ = 0;
    double voltage_ = 0;
    double angle_ = 0;
    double desiredVoltage_ = 0;
    double nominalVoltage_ = 0;
    double minVoltage_ = 0;
    double maxVoltage_ = 0;
    int share_ = 0;
    int controlledBus_ = -1;
    int length_ = 0;
    int showName_ = 0;
    int showVoltage_ = 0;
    int showInjection_ = 0;
    std::vector<int> neighbourKeys_;

    QLineEdit* nameField_;
    QComboBox* typeList_;
    QLineEdit* voltageField_;
    QLineEdit* angleField_;
    QLineEdit* desiredField_;
    QLineEdit* nominalField_;
    QLineEdit* minField_;
    QLineEdit* maxField_;
    QLineEdit* shareField_;
    QComboBox* controlledList_;
    QLineEdit* lengthField_;
    QLabel* lengthLabel_;
    QLabel* minLabel_;
    QLabel* maxLabel_;
    std::array<QLineEdit*, 7> solvedFields_;  // P and Q of load, generation, shunt; the voltage
    QCheckBox* showNameCheck_;
    QCheckBox* showVoltageCheck_;
    QCheckBox* showInjectionCheck_;
};
