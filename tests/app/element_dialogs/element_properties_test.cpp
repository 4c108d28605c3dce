#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>

#include <QListWidget>

#include "bus_properties_dlg.h"
#include "compensator_dialogs.h"
#include "dlg_connector_properties.h"
#include "dlg_fixed_tap_transformer_properties.h"
#include "dlg_load_properties.h"
#include "dlg_power_line_properties.h"
#include "dlg_system_info_properties.h"
#include "dlg_var_condenser_properties.h"
#include "document_model.h"
#include "element_dialog.h"
#include "element_dialog_driver.h"
#include "free_element_dlg.h"
#include "generator_properties_dlg.h"
#include "reg_transformer_properties_dlg.h"
#include "scripted_prompt_service.h"
#include "shunt_dialogs.h"
#include "variable_bank.h"

namespace {

struct Snapshot {
    std::vector<double> values;
    std::vector<std::uint8_t> flags;
    std::string name;
    std::vector<BankBlock> steps;  // a bank's
};

Snapshot Take(IElement& element) {
    std::span<double> values;
    std::vector<std::uint8_t>* flags = nullptr;
    element.GetValuesAndFlags(values, flags);
    Snapshot taken{{values.begin(), values.end()}, flags ? *flags : std::vector<std::uint8_t>{}, element.GetName(), {}};
    if (auto* bank = dynamic_cast<VariableBank*>(&element)) taken.steps = bank->GetSteps();
    return taken;
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

// The dialog the network window opens for the element's kind.
std::unique_ptr<ElementDialog> DialogFor(IElement& element, PromptService& prompts) {
    switch (element.GetElementType()) {
        case ElementType::Bus:
        case ElementType::HorizontalBus:
        case ElementType::NetworkEquivalent:
        case ElementType::ConnectionNode: return std::make_unique<BusPropertiesDlg>(element, prompts);
        case ElementType::Load: return std::make_unique<CDlgLoadProperties>(element, prompts);
        case ElementType::Generator: return std::make_unique<GeneratorPropertiesDlg>(element, prompts);
        case ElementType::SyncCompensator: return std::make_unique<CDlgSynchronousCompensatorProperties>(element, prompts);
        case ElementType::VarCompensator: return std::make_unique<CDlgSVCProperties>(element, prompts);
        case ElementType::Shunt: return std::make_unique<CDlgShuntProperties>(element, prompts);
        case ElementType::Capacitor: return std::make_unique<CapacitorPropertiesDlg>(element, prompts);
        case ElementType::Reactor: return std::make_unique<CDlgReactorProperties>(element, prompts);
        case ElementType::PowerLine: return std::make_unique<CDlgPowerLineProperties>(element, prompts);
        case ElementType::Transformer: return std::make_unique<CDlgFixedTapTransformerProperties>(element, prompts);
        case ElementType::RegulatedTransformer: return std::make_unique<RegTransformerPropertiesDlg>(element, 0, prompts);
        case ElementType::VariableBank:
        case ElementType::VariableReactorBank: return std::make_unique<CDlgVarCondenserProperties>(element, prompts);
        case ElementType::FreeLine: return std::make_unique<FreeElementDlg>(element, "Free Line Properties", prompts);
        case ElementType::FreeText: return std::make_unique<FreeElementDlg>(element, "", prompts);
        case ElementType::PolygonElement:
            return std::make_unique<FreeElementDlg>(element, "Polygon/Polyline Properties", prompts);
        case ElementType::SystemInfo: return std::make_unique<CDlgSystemInfoProperties>(element, prompts);
        default: return std::make_unique<CDlgConnectorProperties>(element, prompts);
    }
}

// Runs the element's dialog as the network window does (a free element's
// text is its name); true after OK.
bool RunElementProperties(IElement& element, PromptService& prompts) {
    std::unique_ptr<ElementDialog> dialog = DialogFor(element, prompts);
    auto* freeElement = dynamic_cast<FreeElementDlg*>(dialog.get());
    if (freeElement != nullptr) freeElement->text = element.GetName();
    if (dialog->DoModal() != QDialog::Accepted) return false;
    if (freeElement != nullptr) element.SetName(freeElement->text);
    return true;
}

void PressOk(QDialog& dialog) { dialog.accept(); }

TEST(ElementProperties, OkWithoutChangesLeavesEveryKindAsItWas) {
    DocumentModel model;
    FillWithEveryKind(*model);
    // A new bank holds nothing at position 0, which its dialog refuses.
    for (const auto& [key, element] : model->List(PowerSystem::kVariableBanks).Entries()) {
        const double sign = element->GetElementType() == ElementType::VariableBank ? 1 : -1;
        dynamic_cast<VariableBank&>(*element).Steps() = {{2, sign * 1.5}, {3, sign * (0.1 + 0.2)}};
        element->UpdateResultLabel(nullptr);
    }
    ScriptedPromptService prompts;
    std::set<int> opened;
    for (int id = 0; id < PowerSystem::kListCount; ++id) {
        for (const auto& [key, element] : model->List(PowerSystem::ListId(id)).Entries()) {
            SCOPED_TRACE(element->GetElementType());
            Snapshot expected = Take(*element);
            // A bus starts its next solve from the desired voltage, a bank
            // from position 0.
            if (IsBusType(element->GetElementType())) expected.values[1] = expected.values[3];
            if (!expected.steps.empty()) expected.steps[0].count = 0;
            prompts.dialogScripts.push_back(PressOk);
            ASSERT_TRUE(RunElementProperties(*element, prompts));
            const Snapshot after = Take(*element);
            EXPECT_EQ(after.values, expected.values);
            EXPECT_EQ(after.flags, expected.flags);
            EXPECT_EQ(after.name, expected.name);
            EXPECT_EQ(after.steps.size(), expected.steps.size());
            for (std::size_t i = 0; i < std::min(after.steps.size(), expected.steps.size()); ++i) {
                EXPECT_EQ(after.steps[i].count, expected.steps[i].count) << i;
                EXPECT_EQ(after.steps[i].mvar, expected.steps[i].mvar) << i;
            }
            opened.insert(element->GetElementType());
        }
    }
    // Every class type but the arrowed free line, which is filed as a free
    // line.
    EXPECT_EQ(opened.size(), 24u);
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
        {ElementType::PowerLine,
         [](QDialog& d) {
             Type(d, CDlgPowerLineProperties::kNameId, "L9");
             Type(d, CDlgPowerLineProperties::kCircuitsId, "2");
             Type(d, CDlgPowerLineProperties::kLengthId, "12.5");
         },
         [](IElement& e) {
             EXPECT_EQ(e.GetName(), "L9");
             EXPECT_EQ(Values(e)[2], 2);
             EXPECT_EQ(Values(e)[9], 12.5);
         }},
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
        ASSERT_TRUE(RunElementProperties(*element, prompts));
        EXPECT_TRUE(prompts.Messages().empty());

        DocumentModel read;
        read.Load(model.Save());
        IElement* stored = read->FindByKey(element->GetKey());
        ASSERT_NE(stored, nullptr);
        c.check(*stored);
    }
}

}  // namespace
