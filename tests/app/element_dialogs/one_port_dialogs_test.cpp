#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "compensator_dialogs.h"
#include "dialog_element.h"
#include "dlg_load_properties.h"
#include "element_dialog_driver.h"
#include "generator_properties_dlg.h"
#include "scripted_prompt_service.h"
#include "shunt_dialogs.h"

namespace {

using Calls = std::vector<std::string>;
const Calls kLabelOnly = {"UpdateResultLabel"};
const Calls kLabelThenSend = {"UpdateResultLabel", "SendChangeCommand"};

// A one-port's dialog set up over its element; OK pressed by Accept.
template <typename Dialog>
struct Opened {
    explicit Opened(DialogElement& element) : dialog(element, prompts) { dialog.SetUp(); }
    bool Accept() {
        dialog.accept();
        return dialog.result() == QDialog::Accepted;
    }
    ScriptedPromptService prompts;
    Dialog dialog;
};

template <typename Dialog>
bool PressOk(DialogElement& element) {
    Opened<Dialog> opened(element);
    return opened.Accept();
}

DialogElement Generator(double p) {
    return DialogElement(ElementType::Generator, 4, {p, 150, -50, 200, 10, 300, 0, 0, 0, 0, 0, 0, 0, 0}, {1});
}
DialogElement Capacitor(double q) { return DialogElement(ElementType::Capacitor, 8, {0, q, 0, 0}, {1}); }
DialogElement Reactor(double q) { return DialogElement(ElementType::Reactor, 9, {0, q, 0, 0}, {1}); }
DialogElement Shunt() { return DialogElement(ElementType::Shunt, 7, {0.1 + 0.2, -25, 0, 0}, {0}); }
DialogElement Load() {
    return DialogElement(ElementType::Load, 3, {50.123456789, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40, 5, 5, 15, 2.5, 2.5},
                         {1});
}

TEST(OnePortDialogs, CapacitorAndReactorStoreTheirKindsSignWhateverIsTyped) {
    struct Case {
        const char* kind;
        std::function<DialogElement()> make;
        std::function<bool(DialogElement&, const char*)> run;
        const char* typed;
        double stored;
        Calls calls;
    };
    auto capacitor = [](DialogElement& e, const char* typed) {
        Opened<CapacitorPropertiesDlg> opened(e);
        Type(opened.dialog, FixedShuntDialog::kQId, typed);
        return opened.Accept();
    };
    auto reactor = [](DialogElement& e, const char* typed) {
        Opened<CDlgReactorProperties> opened(e);
        EXPECT_EQ(Field(opened.dialog, FixedShuntDialog::kQId).text(), "20") << "a reactor shows its magnitude";
        Type(opened.dialog, FixedShuntDialog::kQId, typed);
        return opened.Accept();
    };
    const Case cases[] = {
        {"capacitor", [] { return Capacitor(20); }, capacitor, "-30", 30, kLabelThenSend},
        {"capacitor", [] { return Capacitor(30); }, capacitor, "-30", 30, kLabelOnly},  // a sign is no change
        {"reactor", [] { return Reactor(-20); }, reactor, "30", -30, kLabelThenSend},
        {"reactor", [] { return Reactor(-20); }, reactor, "-30", -30, kLabelThenSend},
        {"reactor", [] { return Reactor(-20); }, reactor, "20", -20, kLabelOnly},
        {"reactor", [] { return Reactor(-20); }, reactor, "-20", -20, kLabelOnly},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + " " + c.typed);
        DialogElement element = c.make();
        element.values[0] = 3;  // no active part survives OK
        ASSERT_TRUE(c.run(element, c.typed));
        EXPECT_EQ(element.values[1], c.stored);
        EXPECT_EQ(element.values[0], 0);
        EXPECT_EQ(element.calls, c.calls);
    }
}

TEST(OnePortDialogs, OkWithoutChangesKeepsEveryValueAndSendsNothing) {
    struct Case {
        const char* kind;
        DialogElement element;
        std::function<bool(DialogElement&)> run;
    };
    Case cases[] = {
        {"reactor", Reactor(-0.1 - 0.2), PressOk<CDlgReactorProperties>},
        {"capacitor", Capacitor(1.0 / 3), PressOk<CapacitorPropertiesDlg>},
        {"shunt", Shunt(), PressOk<CDlgShuntProperties>},
        // Pg needs 17 digits; Qg is a solved 150 Mvar, above what may be typed.
        {"generator", Generator(0.1 + 0.2), PressOk<GeneratorPropertiesDlg>},
        {"load", Load(), PressOk<CDlgLoadProperties>},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.kind);
        const std::vector<double> before = c.element.values;
        const std::vector<std::uint8_t> flags = c.element.labelFlags;
        ASSERT_TRUE(c.run(c.element));
        EXPECT_EQ(c.element.values, before);
        EXPECT_EQ(c.element.labelFlags, flags);
        EXPECT_EQ(c.element.calls, kLabelOnly);
    }
}

TEST(OnePortDialogs, GeneratorSendsANewActiveOutputOnceAfterTheLabels) {
    DialogElement generator = Generator(100);
    Opened<GeneratorPropertiesDlg> opened(generator);
    Type(opened.dialog, GeneratorPropertiesDlg::kPId, "120");
    Type(opened.dialog, GeneratorPropertiesDlg::kQMaxId, "250");
    Check(opened.dialog, GeneratorPropertiesDlg::kShowId).setChecked(false);
    ASSERT_TRUE(opened.Accept());
    EXPECT_EQ(generator.values[0], 120);
    EXPECT_EQ(generator.values[3], 250);
    EXPECT_EQ(generator.values[1], 150) << "the untouched solved Q is kept";
    EXPECT_EQ(generator.labelFlags[0], 0);
    EXPECT_EQ(generator.calls, kLabelThenSend);
}

TEST(OnePortDialogs, GeneratorRangesApplyToWhatIsTyped) {
    struct Case {
        int id;
        const char* typed;
        bool accepted;
    };
    const Case cases[] = {
        {GeneratorPropertiesDlg::kQId, "101", false}, {GeneratorPropertiesDlg::kQId, "-100", true},
        {GeneratorPropertiesDlg::kPId, "10000", false}, {GeneratorPropertiesDlg::kPMaxId, "-1", false},
        {GeneratorPropertiesDlg::kQMaxId, "5000", true},  // the Q limits have no range
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed));
        DialogElement generator = Generator(100);
        const std::vector<double> before = generator.values;
        Opened<GeneratorPropertiesDlg> opened(generator);
        Type(opened.dialog, c.id, c.typed);
        EXPECT_EQ(opened.Accept(), c.accepted);
        if (!c.accepted) {
            EXPECT_EQ(generator.values, before);
            EXPECT_EQ(opened.prompts.Messages().size(), 1u);
            EXPECT_TRUE(generator.calls.empty());
        }
    }
}

TEST(OnePortDialogs, CompensatorsStoreNoActivePowerAndNeverSend) {
    for (int kind : {ElementType::SyncCompensator, ElementType::VarCompensator}) {
        SCOPED_TRACE(kind);
        DialogElement compensator(kind, kind, {12, 30, -20, 40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {0});
        std::unique_ptr<CompensatorDialog> dialog;
        ScriptedPromptService prompts;
        if (kind == ElementType::SyncCompensator) {
            dialog = std::make_unique<CDlgSynchronousCompensatorProperties>(compensator, prompts);
        } else {
            dialog = std::make_unique<CDlgSVCProperties>(compensator, prompts);
        }
        dialog->SetUp();
        EXPECT_TRUE(Field(*dialog, CompensatorDialog::kQId).isReadOnly());
        Type(*dialog, CompensatorDialog::kQMaxId, "45");
        Type(*dialog, CompensatorDialog::kQMinId, "-25");
        Check(*dialog, CompensatorDialog::kShowId).setChecked(true);
        dialog->accept();
        ASSERT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(compensator.values[0], 0);
        EXPECT_EQ(compensator.values[1], 30);
        EXPECT_EQ(compensator.values[2], -25);
        EXPECT_EQ(compensator.values[3], 45);
        EXPECT_EQ(compensator.labelFlags[0], 1);
        EXPECT_EQ(compensator.calls, kLabelOnly);
    }
}

TEST(OnePortDialogs, ShuntFamilyShowsItsPresentValues) {
    struct Case {
        const char* kind;
        std::optional<ShuntRecord> record;  // none: off or not on one bus
        const char* p;
        const char* q;
    };
    const Case cases[] = {
        {"shunt", ShuntRecord{0, 0, -24.123456789, 0.987654321}, "0.987654", "-24.1235"},
        {"shunt", std::nullopt, "0", "0"},
        {"reactor", ShuntRecord{0, 0, -19.5, 0}, nullptr, "19.5"},
        {"capacitor", ShuntRecord{0, 0, 30.25, 0}, nullptr, "30.25"},
        {"capacitor", std::nullopt, nullptr, "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        const std::string kind = c.kind;
        DialogElement element = kind == "shunt" ? Shunt() : kind == "reactor" ? Reactor(-20) : Capacitor(30);
        element.shuntRecord = c.record;
        ScriptedPromptService prompts;
        std::unique_ptr<ShuntFamilyDialog> dialog;
        if (kind == "shunt") dialog = std::make_unique<CDlgShuntProperties>(element, prompts);
        if (kind == "reactor") dialog = std::make_unique<CDlgReactorProperties>(element, prompts);
        if (kind == "capacitor") dialog = std::make_unique<CapacitorPropertiesDlg>(element, prompts);
        dialog->SetUp();
        if (c.p) {
            EXPECT_EQ(Field(*dialog, CDlgShuntProperties::kPresentPId).text(), c.p);
        }
        EXPECT_EQ(Field(*dialog, CDlgShuntProperties::kPresentQId).text(), c.q);
    }
}

TEST(OnePortDialogs, ShuntSendsWhenEitherValueChanged) {
    for (int id : {CDlgShuntProperties::kPId, CDlgShuntProperties::kQId}) {
        DialogElement shunt = Shunt();
        Opened<CDlgShuntProperties> opened(shunt);
        Type(opened.dialog, id, "7.5");
        ASSERT_TRUE(opened.Accept());
        EXPECT_EQ(shunt.values[id == CDlgShuntProperties::kPId ? 0 : 1], 7.5);
        EXPECT_EQ(shunt.calls, kLabelThenSend);
    }
}

TEST(OnePortDialogs, LoadSendsAChangedCharacteristicOnceAfterTheLabels) {
    DialogElement load = Load();
    Opened<CDlgLoadProperties> opened(load);
    EXPECT_TRUE(Field(opened.dialog, CDlgLoadProperties::kPId).isReadOnly());
    Type(opened.dialog, CDlgLoadProperties::kQConstantImpedanceId, "4");
    Type(opened.dialog, CDlgLoadProperties::kPConstantPowerId, "42");
    ASSERT_TRUE(opened.Accept());
    EXPECT_EQ(load.values[11], 42);
    EXPECT_EQ(load.values[16], 4);
    EXPECT_EQ(load.values[0], 50.123456789) << "the calculated P is the element's to set";
    EXPECT_EQ(load.calls, kLabelThenSend);
}

TEST(OnePortDialogs, OwnerLabelModeLocksTheFieldsOfEachKind) {
    struct Case {
        const char* kind;
        std::function<std::unique_ptr<ElementDialog>(DialogElement&, PromptService&)> make;
        int classType;
        std::vector<int> locked;
        std::vector<int> open;
    };
    const Case cases[] = {
        {"generator", [](DialogElement& e, PromptService& p) { return std::make_unique<GeneratorPropertiesDlg>(e, p); },
         ElementType::Generator,
         {GeneratorPropertiesDlg::kQMinId, GeneratorPropertiesDlg::kQMaxId, GeneratorPropertiesDlg::kQId},
         {GeneratorPropertiesDlg::kPId, GeneratorPropertiesDlg::kPMaxId}},
        {"synchronous compensator",
         [](DialogElement& e, PromptService& p) { return std::make_unique<CDlgSynchronousCompensatorProperties>(e, p); },
         ElementType::SyncCompensator,
         {CompensatorDialog::kQMaxId, CompensatorDialog::kQMinId, CompensatorDialog::kQId},
         {}},
        {"SVC", [](DialogElement& e, PromptService& p) { return std::make_unique<CDlgSVCProperties>(e, p); },
         ElementType::VarCompensator,
         {CompensatorDialog::kQId},
         {CompensatorDialog::kQMaxId, CompensatorDialog::kQMinId}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        DialogElement element = Generator(10);
        element.classType = c.classType;
        element.labelMode = true;
        ScriptedPromptService prompts;
        std::unique_ptr<ElementDialog> dialog = c.make(element, prompts);
        dialog->SetUp();
        for (int id : c.locked) EXPECT_FALSE(Field(*dialog, id).isEnabled()) << id;
        for (int id : c.open) EXPECT_TRUE(Field(*dialog, id).isEnabled()) << id;
    }
}

}  // namespace
