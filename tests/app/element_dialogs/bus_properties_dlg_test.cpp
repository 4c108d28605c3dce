#include <gtest/gtest.h>

#include <QLabel>

#include "bus_properties_dlg.h"
#include "dialog_element.h"
#include "element_dialog_driver.h"
#include "scripted_prompt_service.h"

namespace {

using Dlg = BusPropertiesDlg;

// A 110 kV load bus held at 1.0 p.u. within 0.9 .. 1.1, solved at 0.98.
DialogElement MakeBus(int classType = ElementType::Bus) {
    DialogElement bus(classType, 1, {110, 0.98, -3.5, 1.0, 1, 0.9, 1.1, 0, 0, 25}, {1, 0, 1});
    bus.name = "B1";
    bus.length = 40;
    return bus;
}

struct Prompts {
    ScriptedPromptService prompts;
    std::vector<QString> Messages() const {
        std::vector<QString> texts;
        for (const auto& prompt : prompts.Messages()) texts.push_back(prompt.text);
        return texts;
    }
};

TEST(BusPropertiesDlg, DesiredVoltageWithinTwentyPercentOfNominal) {
    struct Case {
        const char* nominal;
        const char* desired;
        bool accepted;
    };
    const Case cases[] = {
        {"110", "104.5", true},  // 0.95
        {"110", "86.9", false},  // 0.79
        {"110", "133.1", false}, // 1.21
        {"110", "132", true},    // the upper edge
        {"13.8", "11.04", true}, // the lower edge, which the division puts a hair below 0.8
        {"110", "0", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.nominal) + " / " + c.desired);
        DialogElement bus = MakeBus();
        const std::vector<double> before = bus.values;
        Prompts run;
        Dlg dialog(bus, run.prompts);
        dialog.SetUp();
        Type(dialog, Dlg::kNominalVoltageId, c.nominal);
        Type(dialog, Dlg::kDesiredVoltageId, c.desired);
        Type(dialog, Dlg::kMinVoltageId, "0");
        Type(dialog, Dlg::kMaxVoltageId, "1000");
        dialog.accept();
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.accepted);
        if (c.accepted) {
            EXPECT_TRUE(run.Messages().empty());
            EXPECT_DOUBLE_EQ(bus.values[3], std::stod(c.desired) / std::stod(c.nominal));
            EXPECT_EQ(bus.values[1], bus.values[3]);
            EXPECT_EQ(bus.values[0], std::stod(c.nominal));
        } else {
            const char* expected = std::stod(c.desired) == 0 ? Dlg::kDesiredNotPositive : Dlg::kDesiredOutOfBand;
            EXPECT_EQ(run.Messages(), std::vector<QString>{QString::fromLatin1(expected)});
            EXPECT_EQ(bus.values, before);
            EXPECT_TRUE(bus.calls.empty());
        }
    }
}

TEST(BusPropertiesDlg, LimitsMustEncloseTheDesiredVoltage) {
    struct Case {
        const char* min;
        const char* max;
        bool accepted;
    };
    const Case cases[] = {
        {"110", "121", true},   // Vmin equal to V desired
        {"99", "110", true},    // Vmax equal to V desired
        {"110.5", "121", false},
        {"99", "109.9", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.min) + " .. " + c.max);
        DialogElement bus = MakeBus();
        const std::vector<double> before = bus.values;
        Prompts run;
        Dlg dialog(bus, run.prompts);
        dialog.SetUp();
        Type(dialog, Dlg::kNameId, "Renamed");
        Type(dialog, Dlg::kMinVoltageId, c.min);
        Type(dialog, Dlg::kMaxVoltageId, c.max);
        dialog.accept();
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.accepted);
        if (c.accepted) {
            EXPECT_DOUBLE_EQ(bus.values[5], std::stod(c.min) / 110);
            EXPECT_DOUBLE_EQ(bus.values[6], std::stod(c.max) / 110);
            EXPECT_EQ(bus.name, "Renamed");
        } else {
            EXPECT_EQ(run.Messages(), std::vector<QString>{QString::fromLatin1(Dlg::kLimitsAroundDesired)});
            EXPECT_EQ(bus.values, before);
            EXPECT_EQ(bus.name, "B1");
            EXPECT_TRUE(bus.calls.empty());
        }
    }
}

TEST(BusPropertiesDlg, OkWithoutChangesRoundsNothingAndStartsFromTheDesiredVoltage) {
    // Per-unit values that no 15-digit kV text gives back exactly.
    DialogElement bus(ElementType::Bus, 1, {115, 0.97, 0.1 + 0.2, 1.0 / 3 + 0.7, 4, 0.1 * 9, 1.1 + 1e-16, 7, 0, 25},
                      {0, 1});
    bus.name = "B1";
    bus.length = 55;
    std::vector<double> expected = bus.values;
    expected[1] = expected[3];
    Prompts run;
    Dlg dialog(bus, run.prompts);
    dialog.SetUp();
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(bus.values, expected);
    EXPECT_EQ(bus.labelFlags, (std::vector<std::uint8_t>{0, 1}));
    EXPECT_EQ(bus.name, "B1");
    EXPECT_EQ(bus.length, 55);
    EXPECT_EQ(bus.calls, (std::vector<std::string>{"SetName", "UpdateResultLabel"}));
}

TEST(BusPropertiesDlg, AStoredKindOutsideTheListIsKept) {
    DialogElement bus = MakeBus();
    bus.values[4] = 12;
    Prompts run;
    Dlg dialog(bus, run.prompts);
    dialog.SetUp();
    EXPECT_EQ(Combo(dialog, Dlg::kTypeId).currentIndex(), -1);
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(bus.values[4], 12);
}

TEST(BusPropertiesDlg, CancelWritesNothing) {
    DialogElement bus = MakeBus();
    const std::vector<double> before = bus.values;
    Prompts run;
    Dlg dialog(bus, run.prompts);
    dialog.SetUp();
    Type(dialog, Dlg::kNominalVoltageId, "220");
    Type(dialog, Dlg::kNameId, "Other");
    dialog.reject();
    EXPECT_EQ(bus.values, before);
    EXPECT_EQ(bus.name, "B1");
    EXPECT_TRUE(bus.calls.empty());
}

TEST(BusPropertiesDlg, AngleIsEditableAndCheckedOnlyOnTheSlackBus) {
    struct Case {
        int kind;
        double storedAngle;
        const char* typed;  // null: left as shown
        bool accepted;
    };
    const Case cases[] = {
        {0, 10, "190", false},  // typed on a slack bus
        {0, 10, "-45", true},
        {0, 190, nullptr, true},  // stored, not typed
        {1, 200, nullptr, true},  // a solved angle on a load bus
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        DialogElement bus = MakeBus();
        bus.values[4] = c.kind;
        bus.values[2] = c.storedAngle;
        Prompts run;
        Dlg dialog(bus, run.prompts);
        dialog.SetUp();
        EXPECT_EQ(Field(dialog, Dlg::kAngleId).isReadOnly(), c.kind != 0);
        if (c.typed) Type(dialog, Dlg::kAngleId, c.typed);
        dialog.accept();
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.accepted);
        EXPECT_EQ(bus.values[2], c.accepted && c.typed ? std::stod(c.typed) : c.storedAngle);
    }
}

TEST(BusPropertiesDlg, ControlledBusComesFromTheNeighboursAndIsKeptWhateverTheType) {
    DialogElement near(ElementType::Bus, 1, {}, {});
    near.key = 0x101;
    near.name = "NEAR";
    DialogElement far(ElementType::Bus, 1, {}, {});
    far.key = 0x201;
    far.name = "FAR";

    struct Case {
        std::vector<IElement*> neighbours;
        double storedKey;
        int shownIndex;
        double writtenKey;
    };
    const Case cases[] = {
        {{&near, &far}, 0x201, 1, 0x201},
        {{&near, &far}, 0x999, -1, 0},  // a key of no neighbour
        {{}, 0x201, -1, 0},             // no neighbour at all
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shownIndex);
        DialogElement bus = MakeBus();
        bus.neighbours = c.neighbours;
        bus.values[8] = c.storedKey;
        Prompts run;
        Dlg dialog(bus, run.prompts);
        dialog.SetUp();
        QComboBox& list = Combo(dialog, Dlg::kControlledBusId);
        ASSERT_EQ(list.count(), static_cast<int>(c.neighbours.size()));
        EXPECT_EQ(list.currentIndex(), c.shownIndex);
        // A load bus: the controlled bus and the share are shown, not edited.
        EXPECT_FALSE(list.isEnabled());
        EXPECT_FALSE(Field(dialog, Dlg::kShareId).isEnabled());
        dialog.accept();
        ASSERT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(bus.values[8], c.writtenKey);
        EXPECT_EQ(bus.values[9], 25);
    }
}

TEST(BusPropertiesDlg, RemoteControlTypeEnablesTheControlledBusAndShare) {
    DialogElement neighbour(ElementType::Bus, 1, {}, {});
    neighbour.key = 0x301;
    neighbour.name = "N";
    DialogElement bus = MakeBus();
    bus.neighbours = {&neighbour};
    Prompts run;
    Dlg dialog(bus, run.prompts);
    dialog.SetUp();
    Combo(dialog, Dlg::kTypeId).setCurrentIndex(Dlg::kRemoteControlType);
    EXPECT_TRUE(Combo(dialog, Dlg::kControlledBusId).isEnabled());
    EXPECT_TRUE(Field(dialog, Dlg::kShareId).isEnabled());
    Combo(dialog, Dlg::kControlledBusId).setCurrentIndex(0);
    Type(dialog, Dlg::kShareId, "60");
    Combo(dialog, Dlg::kTypeId).setCurrentIndex(0);
    EXPECT_FALSE(Combo(dialog, Dlg::kControlledBusId).isEnabled());
    EXPECT_FALSE(Field(dialog, Dlg::kAngleId).isReadOnly());
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(bus.values[4], 0);
    EXPECT_EQ(bus.values[8], 0x301);
    EXPECT_EQ(bus.values[9], 60);
}

TEST(BusPropertiesDlg, NetworkEquivalentShowsItsInjectionCheckAndKeepsItsInjections) {
    DialogElement equivalent = MakeBus(ElementType::NetworkEquivalent);
    equivalent.values[4] = 0;
    equivalent.values[5] = -12.34567891;  // Q, Mvar
    equivalent.values[6] = 456.7891234;   // P, MW
    equivalent.busRecord = BusRecord{};
    equivalent.busRecord->generationP = 456.7891234;
    equivalent.busRecord->generationQ = -12.34567891;
    equivalent.labelFlags = {1, 1, 0};
    Prompts run;
    Dlg dialog(equivalent, run.prompts);
    dialog.SetUp();
    EXPECT_TRUE(Check(dialog, Dlg::kShowInjectionId).isVisibleTo(&dialog));
    EXPECT_FALSE(Field(dialog, Dlg::kLengthId).isVisibleTo(&dialog));
    for (int id : {Dlg::kMinVoltageId, Dlg::kMaxVoltageId}) EXPECT_FALSE(Field(dialog, id).isVisibleTo(&dialog));
    for (int id : {Dlg::kMinVoltageLabelId, Dlg::kMaxVoltageLabelId}) {
        EXPECT_FALSE(FindControl<QLabel>(dialog, id)->isVisibleTo(&dialog));
    }
    EXPECT_FALSE(Combo(dialog, Dlg::kTypeId).isEnabled());
    EXPECT_EQ(Field(dialog, Dlg::kGenerationPId).text(), "456.789");
    Check(dialog, Dlg::kShowInjectionId).setChecked(true);
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(equivalent.values[5], -12.34567891);
    EXPECT_EQ(equivalent.values[6], 456.7891234);
    EXPECT_EQ(equivalent.labelFlags, (std::vector<std::uint8_t>{1, 1, 1}));
}

TEST(BusPropertiesDlg, OtherBusesHideTheInjectionCheck) {
    for (int type : {ElementType::Bus, ElementType::ConnectionNode}) {
        DialogElement bus = MakeBus(type);
        Prompts run;
        Dlg dialog(bus, run.prompts);
        dialog.SetUp();
        EXPECT_FALSE(Check(dialog, Dlg::kShowInjectionId).isVisibleTo(&dialog));
        EXPECT_EQ(Field(dialog, Dlg::kLengthId).isVisibleTo(&dialog), type == ElementType::Bus);
        EXPECT_EQ(Combo(dialog, Dlg::kTypeId).isEnabled(), type == ElementType::Bus);
        dialog.accept();
        EXPECT_EQ(bus.labelFlags[2], 1) << "the third flag is the equivalent's alone";
    }
}

TEST(BusPropertiesDlg, SolvedValuesShownWhenTheBusGivesARecord) {
    DialogElement bus = MakeBus();
    bus.busRecord = BusRecord{};
    bus.busRecord->loadP = 12.3456;
    bus.busRecord->loadQ = -4;
    bus.busRecord->shuntQ = 7.0006;
    Prompts run;
    Dlg dialog(bus, run.prompts);
    dialog.SetUp();
    EXPECT_EQ(Field(dialog, Dlg::kLoadPId).text(), "12.346");
    EXPECT_EQ(Field(dialog, Dlg::kLoadQId).text(), "-4.000");
    EXPECT_EQ(Field(dialog, Dlg::kShuntQId).text(), "7.001");
    EXPECT_EQ(Field(dialog, Dlg::kVoltageId).text(), "107.8");

    DialogElement unsolved = MakeBus();
    Dlg empty(unsolved, run.prompts);
    empty.SetUp();
    EXPECT_EQ(Field(empty, Dlg::kLoadPId).text(), "");
}

TEST(BusPropertiesDlg, OwnerLabelModeLocksTheNetworkData) {
    DialogElement bus = MakeBus();
    bus.labelMode = true;
    Prompts run;
    Dlg dialog(bus, run.prompts);
    dialog.SetUp();
    for (int id : {Dlg::kAngleId, Dlg::kLengthId, Dlg::kNameId, Dlg::kNominalVoltageId, Dlg::kDesiredVoltageId,
                   Dlg::kMaxVoltageId, Dlg::kMinVoltageId, Dlg::kVoltageId}) {
        EXPECT_FALSE(Field(dialog, id).isEnabled()) << id;
    }
    EXPECT_FALSE(Combo(dialog, Dlg::kTypeId).isEnabled());
    EXPECT_TRUE(Check(dialog, Dlg::kShowNameId).isEnabled());
}

}  // namespace
