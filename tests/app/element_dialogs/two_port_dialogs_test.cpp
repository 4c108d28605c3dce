#include <gtest/gtest.h>

#include <QLabel>
#include <QRadioButton>

#include "branch_data.h"
#include "dialog_element.h"
#include "dlg_fixed_tap_transformer_properties.h"
#include "dlg_power_line_properties.h"
#include "document_model.h"
#include "element_dialog_driver.h"
#include "reg_transformer_properties_dlg.h"
#include "scripted_prompt_service.h"

namespace {

namespace BD = BranchData;
using Reg = RegTransformerPropertiesDlg;

DialogElement TwoPort(int classType) {
    std::vector<double> record(BD::kCount, 0.0);
    record[BD::kCircuits] = 1;
    record[BD::kResistance] = 0.01;
    record[BD::kReactance] = 0.1;
    record[BD::kRating] = 100;
    record[BD::kTapSteps] = 1;
    DialogElement element(classType, 10, record, {1, 1, 0, 2, 0});
    element.name = "T1";
    return element;
}

DialogElement BusAt(double kv) {
    DialogElement bus(ElementType::Bus, 1, {kv, 1, 0, 1, 1, 0.9, 1.1, 0, 0, 0}, {1, 1});
    return bus;
}

TEST(TwoPortDialogs, EndNamesAndNominalVoltagesOfTheConnectedBuses) {
    DialogElement near = BusAt(110);
    DialogElement far = BusAt(20);
    struct Case {
        std::vector<IElement*> ends;
        std::array<std::optional<std::string>, 2> names;
        const char* from;
        const char* to;
        const char* fromKv;
        const char* toKv;
    };
    const Case cases[] = {
        {{&near, &far}, {"HV", "LV"}, "HV", "LV", "110.000", "20.000"},
        {{&near}, {"HV", std::nullopt}, "HV", "Unconnected", "110.000", "110.000"},
        {{}, {std::nullopt, std::nullopt}, "Unconnected", "Unconnected", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ends.size());
        DialogElement transformer = TwoPort(ElementType::Transformer);
        transformer.neighbours = c.ends;
        transformer.endNames = c.names;
        ScriptedPromptService prompts;
        CDlgFixedTapTransformerProperties dialog(transformer, prompts);
        dialog.SetUp();
        EXPECT_EQ(Field(dialog, TwoPortDialog::kFromNameId).text(), c.from);
        EXPECT_EQ(Field(dialog, TwoPortDialog::kToNameId).text(), c.to);
        EXPECT_EQ(Field(dialog, TwoPortDialog::kFromKvId).text(), c.fromKv);
        EXPECT_EQ(Field(dialog, TwoPortDialog::kToKvId).text(), c.toKv);
    }
}

TEST(TwoPortDialogs, StoredValuesOutOfRangeOpenQuietlyAndAreReportedAtOk) {
    struct Case {
        int index;
        double stored;
    };
    for (const Case c : {Case{BD::kCircuits, 4}, Case{BD::kConductance, -1}}) {
        SCOPED_TRACE(c.index);
        DialogElement line = TwoPort(ElementType::PowerLine);
        line.values[static_cast<std::size_t>(c.index)] = c.stored;
        const std::vector<double> before = line.values;
        ScriptedPromptService prompts;
        CDlgPowerLineProperties dialog(line, prompts);
        dialog.SetUp();
        EXPECT_TRUE(prompts.Messages().empty());
        dialog.accept();
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(prompts.Messages().size(), 1u);
        EXPECT_EQ(line.values, before);
    }
}

TEST(TwoPortDialogs, LoadFactorCheckAndStyleMakeFlagThree) {
    struct Case {
        bool shown;
        int style;  // 0 as a percentage, 1 as the power loss
        std::uint8_t flag;
    };
    for (const Case c : {Case{false, 0, 0}, Case{true, 0, 2}, Case{true, 1, 1}}) {
        SCOPED_TRACE(c.flag);
        DialogElement line = TwoPort(ElementType::PowerLine);
        ScriptedPromptService prompts;
        CDlgPowerLineProperties dialog(line, prompts);
        dialog.SetUp();
        EXPECT_TRUE(FindControl<QRadioButton>(dialog, TwoPortDialog::kAsPercentageId)->isChecked()) << "stored 2";
        Check(dialog, TwoPortDialog::kShowLoadFactorId).setChecked(c.shown);
        EXPECT_EQ(FindControl<QRadioButton>(dialog, TwoPortDialog::kAsPowerLossId)->isEnabled(), c.shown);
        FindControl<QRadioButton>(dialog, c.style == 0 ? TwoPortDialog::kAsPercentageId : TwoPortDialog::kAsPowerLossId)
            ->setChecked(true);
        dialog.accept();
        ASSERT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(line.labelFlags[3], c.flag);
    }
}

TEST(TwoPortDialogs, TransformersKeepTheirNameAndOkWithoutChangesKeepsTheRecord) {
    for (int type : {ElementType::Transformer, ElementType::RegulatedTransformer}) {
        SCOPED_TRACE(type);
        DialogElement transformer = TwoPort(type);
        transformer.values[BD::kFromTapKv] = 115.5 + 1e-13;
        transformer.values[BD::kTapSide] = 0.7;
        transformer.values[BD::kBandMinimum] = 0.1 + 0.2;
        const std::vector<double> before = transformer.values;
        const std::vector<std::uint8_t> flags = transformer.labelFlags;
        ScriptedPromptService prompts;
        std::unique_ptr<TwoPortDialog> dialog;
        if (type == ElementType::Transformer) {
            dialog = std::make_unique<CDlgFixedTapTransformerProperties>(transformer, prompts);
        } else {
            dialog = std::make_unique<Reg>(transformer, 0, prompts);
        }
        dialog->SetUp();
        dialog->accept();
        ASSERT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(transformer.name, "T1");
        EXPECT_EQ(transformer.values, before);
        EXPECT_EQ(transformer.labelFlags, flags);
        EXPECT_EQ(transformer.calls, std::vector<std::string>{"UpdateResultLabel"});
    }
}

TEST(TwoPortDialogs, RegulatingTransformerTypeRuleOnTheFields) {
    DialogElement transformer = TwoPort(ElementType::RegulatedTransformer);
    transformer.endNames = {"HV", "LV"};
    ScriptedPromptService prompts;
    Reg dialog(transformer, 0, prompts);
    dialog.SetUp();
    EXPECT_FALSE(Field(dialog, Reg::kFirstQuantityId).isVisibleTo(&dialog));
    EXPECT_FALSE(Field(dialog, Reg::kCurrentRatioId).isVisibleTo(&dialog));
    EXPECT_TRUE(Combo(dialog, Reg::kControlledBusId).isEnabled());
    EXPECT_EQ(Combo(dialog, Reg::kControlledBusId).itemText(1), "LV");
    Combo(dialog, Reg::kTypeId).setCurrentIndex(4);
    EXPECT_FALSE(Combo(dialog, Reg::kControlledBusId).isEnabled());
    EXPECT_EQ(Combo(dialog, Reg::kControlledBusId).currentIndex(), 1);
    EXPECT_EQ(FindControl<QLabel>(dialog, Reg::kMinimumLabelId)->text(), "Min phase angle [deg]:");
    EXPECT_TRUE(Field(dialog, Reg::kSecondQuantityId).isVisibleTo(&dialog));
    EXPECT_EQ(FindControl<QLabel>(dialog, Reg::kFirstQuantityLabelId)->text(), "Max MW out of 'To' bus:");
    Combo(dialog, Reg::kTypeId).setCurrentIndex(0);
    FindControl<QRadioButton>(dialog, Reg::kTapAtToId)->setChecked(true);
    EXPECT_TRUE(Field(dialog, Reg::kFromTapId).isEnabled());
    EXPECT_FALSE(Field(dialog, Reg::kToTapId).isEnabled());
}

TEST(TwoPortDialogs, ARegulatingTransformerHasAtLeastOneTapStepEvenWhenCancelled) {
    DialogElement transformer = TwoPort(ElementType::RegulatedTransformer);
    transformer.values[BD::kTapSteps] = 0;
    ScriptedPromptService prompts;
    Reg dialog(transformer, 0, prompts);
    dialog.SetUp();
    dialog.reject();
    EXPECT_EQ(transformer.values[BD::kTapSteps], 1);
}

TEST(TwoPortDialogs, ControlledQuantitiesSurviveSavingAndLoading) {
    DocumentModel model;
    FillWithEveryKind(*model);
    IElement* transformer = nullptr;
    for (const auto& [key, element] : model->List(PowerSystem::kLines).Entries()) {
        if (element->GetElementType() == ElementType::RegulatedTransformer) transformer = &*element;
    }
    ASSERT_NE(transformer, nullptr);
    ScriptedPromptService prompts;
    Reg dialog(*transformer, 0, prompts);
    dialog.SetUp();
    Combo(dialog, Reg::kTypeId).setCurrentIndex(2);
    Type(dialog, Reg::kFirstQuantityId, "35");
    Type(dialog, Reg::kSecondQuantityId, "-12.5");
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);

    DocumentModel read;
    read.Load(model.Save());
    const double* stored = read->FindByKey(transformer->GetKey())->GetValues();
    EXPECT_EQ(stored[BD::kControlType], 2);
    EXPECT_EQ(stored[BD::kBandMaximum], 35);
    EXPECT_EQ(stored[BD::kBandMinimum], -12.5);

    Reg reopened(*read->FindByKey(transformer->GetKey()), 0, prompts);
    reopened.SetUp();
    EXPECT_EQ(Field(reopened, Reg::kFirstQuantityId).text(), "35");
    EXPECT_EQ(Field(reopened, Reg::kSecondQuantityId).text(), "-12.5");
}

}  // namespace
