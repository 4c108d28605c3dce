#include <gtest/gtest.h>

#include <functional>
#include <set>

#include <QListWidget>

#include "bus_properties_dlg.h"
#include "compensator_dialogs.h"
#include "dlg_connector_properties.h"
#include "dlg_load_properties.h"
#include "dlg_system_info_properties.h"
#include "dialog_element.h"
#include "document_model.h"
#include "element_dialog.h"
#include "element_dialog_driver.h"
#include "element_properties.h"
#include "free_element_dlg.h"
#include "generator_properties_dlg.h"
#include "scripted_prompt_service.h"
#include "shunt_dialogs.h"

namespace {

struct Snapshot {
    std::vector<double> values;
    std::vector<std::uint8_t> flags;
    std::string name;
};

Snapshot Take(IElement& element) {
    std::span<double> values;
    std::vector<std::uint8_t>* flags = nullptr;
    element.GetValuesAndFlags(values, flags);
    return {{values.begin(), values.end()}, flags ? *flags : std::vector<std::uint8_t>{}, element.GetName()};
}

std::span<double> Values(IElement& element) {
    std::span<double> values;
    std::vector<std::uint8_t>* flags = nullptr;
    element.GetValuesAndFlags(values, flags);
    return values;
}

std::uint8_t FlagOf(IElement& element, int index) {
    std::span<double> values;
    std::vector<std::uint8_t>* flags = nullptr;
    element.GetValuesAndFlags(values, flags);
    return flags->at(index);
}

IElement* FirstOfType(PowerSystem& model, int classType) {
    for (int id = 0; id < PowerSystem::kListCount; ++id) {
        for (const auto& [key, element] : model.List(PowerSystem::ListId(id)).Entries()) {
            if (element->GetElementType() == classType) return &*element;
        }
    }
    return nullptr;
}

void PressOk(QDialog& dialog) { dialog.accept(); }

// The class types whose dialogs are built here.
const std::set<int> kKindsWithDialogs = {
    ElementType::Bus,         ElementType::HorizontalBus,  ElementType::NetworkEquivalent,
    ElementType::ConnectionNode, ElementType::Load,        ElementType::Generator,
    ElementType::SyncCompensator, ElementType::VarCompensator, ElementType::Shunt,
    ElementType::Capacitor,   ElementType::Reactor,        ElementType::FreeLine,
    ElementType::FreeText,    ElementType::Connector,      ElementType::Disconnector,
    ElementType::CircuitBreaker, ElementType::Fuse,        ElementType::PolygonElement,
    ElementType::SystemInfo,
};

TEST(ElementProperties, OkWithoutChangesLeavesEveryKindAsItWas) {
    DocumentModel model;
    FillWithEveryKind(*model);
    ScriptedPromptService prompts;
    std::set<int> opened;
    for (int id = 0; id < PowerSystem::kListCount; ++id) {
        for (const auto& [key, element] : model->List(PowerSystem::ListId(id)).Entries()) {
            if (!kKindsWithDialogs.contains(element->GetElementType())) continue;
            SCOPED_TRACE(element->GetElementType());
            Snapshot expected = Take(*element);
            // A bus starts its next solve from the desired voltage.
            if (IsBusType(element->GetElementType())) expected.values[1] = expected.values[3];
            prompts.dialogScripts.push_back(PressOk);
            ASSERT_TRUE(RunElementProperties(*element, prompts, nullptr));
            const Snapshot after = Take(*element);
            EXPECT_EQ(after.values, expected.values);
            EXPECT_EQ(after.flags, expected.flags);
            EXPECT_EQ(after.name, expected.name);
            opened.insert(element->GetElementType());
        }
    }
    EXPECT_EQ(opened, kKindsWithDialogs);
    EXPECT_TRUE(prompts.Messages().empty());
}

TEST(ElementProperties, EditsOfEveryKindSurviveSavingAndLoading) {
    struct Case {
        int classType;
        std::function<void(QDialog&)> edit;
        std::function<void(IElement&)> check;
    };
    using Bus = BusPropertiesDlg;
    const Case cases[] = {
        {ElementType::Bus,
         [](QDialog& d) {
             Type(d, Bus::kNameId, "North");
             Type(d, Bus::kNominalVoltageId, "220");
             Type(d, Bus::kDesiredVoltageId, "231");
             Type(d, Bus::kMinVoltageId, "209");
             Type(d, Bus::kMaxVoltageId, "242");
             Check(d, Bus::kShowNameId).setChecked(false);
         },
         [](IElement& e) {
             EXPECT_EQ(e.GetName(), "North");
             std::span<double> v = Values(e);
             EXPECT_EQ(v[0], 220);
             EXPECT_DOUBLE_EQ(v[3], 1.05);
             EXPECT_EQ(v[1], v[3]);
             EXPECT_DOUBLE_EQ(v[5], 0.95);
             EXPECT_DOUBLE_EQ(v[6], 1.1);
             EXPECT_EQ(FlagOf(e, 0), 0);
         }},
        {ElementType::HorizontalBus,
         [](QDialog& d) {
             Combo(d, Bus::kTypeId).setCurrentIndex(4);
             Type(d, Bus::kLengthId, "80");
         },
         [](IElement& e) {
             EXPECT_EQ(Values(e)[4], 4);
             EXPECT_EQ(e.GetLength(), 80);
         }},
        {ElementType::NetworkEquivalent, [](QDialog& d) { Check(d, Bus::kShowInjectionId).setChecked(false); },
         [](IElement& e) { EXPECT_EQ(FlagOf(e, 2), 0); }},
        {ElementType::ConnectionNode, [](QDialog& d) { Type(d, Bus::kNameId, "N1"); },
         [](IElement& e) { EXPECT_EQ(e.GetName(), "N1"); }},
        {ElementType::Load, [](QDialog& d) { Type(d, CDlgLoadProperties::kPConstantPowerId, "42"); },
         [](IElement& e) { EXPECT_EQ(Values(e)[11], 42); }},
        {ElementType::Generator,
         [](QDialog& d) {
             Type(d, GeneratorPropertiesDlg::kPId, "120");
             Type(d, GeneratorPropertiesDlg::kQMaxId, "250");
         },
         [](IElement& e) {
             EXPECT_EQ(Values(e)[0], 120);
             EXPECT_EQ(Values(e)[3], 250);
         }},
        {ElementType::SyncCompensator, [](QDialog& d) { Type(d, CompensatorDialog::kQMaxId, "45"); },
         [](IElement& e) { EXPECT_EQ(Values(e)[3], 45); }},
        {ElementType::VarCompensator, [](QDialog& d) { Type(d, CompensatorDialog::kQMinId, "-25"); },
         [](IElement& e) { EXPECT_EQ(Values(e)[2], -25); }},
        {ElementType::Shunt, [](QDialog& d) { Type(d, CDlgShuntProperties::kPId, "7.5"); },
         [](IElement& e) { EXPECT_EQ(Values(e)[0], 7.5); }},
        {ElementType::Capacitor, [](QDialog& d) { Type(d, FixedShuntDialog::kQId, "-30"); },
         [](IElement& e) { EXPECT_EQ(Values(e)[1], 30); }},
        {ElementType::Reactor, [](QDialog& d) { Type(d, FixedShuntDialog::kQId, "30"); },
         [](IElement& e) { EXPECT_EQ(Values(e)[1], -30); }},
        {ElementType::Connector,
         [](QDialog& d) {
             Type(d, CDlgConnectorProperties::kNameId, "C9");
             Check(d, CDlgConnectorProperties::kShowId).setChecked(true);
         },
         [](IElement& e) {
             EXPECT_EQ(e.GetName(), "C9");
             EXPECT_EQ(FlagOf(e, 0), 1);
         }},
        {ElementType::FreeLine,
         [](QDialog& d) {
             Type(d, FreeElementDlg::kTextId, "Note");
             Check(d, FreeElementDlg::kShowId).setChecked(false);
         },
         [](IElement& e) {
             EXPECT_EQ(e.GetName(), "Note");
             EXPECT_EQ(FlagOf(e, 0), 0);
         }},
        {ElementType::FreeText, [](QDialog& d) { Type(d, FreeElementDlg::kTextId, "Bye"); },
         [](IElement& e) { EXPECT_EQ(e.GetName(), "Bye"); }},
        {ElementType::PolygonElement, [](QDialog& d) { Check(d, FreeElementDlg::kShowId).setChecked(true); },
         [](IElement& e) { EXPECT_EQ(FlagOf(e, 0), 1); }},
        {ElementType::SystemInfo,
         [](QDialog& d) {
             FindControl<QListWidget>(d, CDlgSystemInfoProperties::kInfoId)->setCurrentRow(9);
             Check(d, CDlgSystemInfoProperties::kShowLabelId).setChecked(true);
             Type(d, CDlgSystemInfoProperties::kLabelId, "Import");
         },
         [](IElement& e) {
             EXPECT_EQ(Values(e)[0], 19);
             EXPECT_EQ(e.GetName(), "Import");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.classType);
        DocumentModel model;
        FillWithEveryKind(*model);
        IElement* element = FirstOfType(*model, c.classType);
        ASSERT_NE(element, nullptr);
        ScriptedPromptService prompts;
        prompts.dialogScripts.push_back([&c](QDialog& dialog) {
            c.edit(dialog);
            dialog.accept();
        });
        ASSERT_TRUE(RunElementProperties(*element, prompts, nullptr));
        EXPECT_TRUE(prompts.Messages().empty());

        DocumentModel read;
        read.Load(model.Save());
        IElement* stored = read->FindByKey(element->GetKey());
        ASSERT_NE(stored, nullptr);
        c.check(*stored);
    }
}

TEST(ElementProperties, AKindWithoutADialogSaysSo) {
    DialogElement picture(99, 99, {}, {});
    ScriptedPromptService prompts;
    EXPECT_FALSE(RunElementProperties(picture, prompts, nullptr));
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0].text, "No properties for this object");
}

}  // namespace
