#include <gtest/gtest.h>

#include <vector>

#include "font_setting.h"
#include "test_model.h"

namespace {

LabelFontCounts Counts(LabelFontKind kind, std::size_t count) {
    LabelFontCounts counts{};
    counts[static_cast<std::size_t>(kind)] = count;
    return counts;
}

TEST(ApplyFontSettings, ReachesTheElementsOfTheKindOnly) {
    TestModel model;
    FakeElement& capacitorBank = model.Add(ElementType::VariableBank);
    FakeElement& reactorBank = model.Add(ElementType::VariableReactorBank);
    FakeElement& capacitor = model.Add(ElementType::Capacitor);
    FakeElement& line = model.Add(ElementType::PowerLine);
    FakeElement& transformer = model.Add(ElementType::Transformer);
    FakeElement& regulating = model.Add(ElementType::RegulatedTransformer);
    LabelFontCounts counts{};
    counts.fill(5);
    model->SetLabelFontCounts(counts);
    std::vector<FontSetting> fonts(1);

    model->ApplyFontSettings(ElementType::VariableReactorBank, kRed, 3, fonts);
    EXPECT_EQ(reactorBank.color, kRed);
    EXPECT_EQ(reactorBank.penWidth, 3);
    EXPECT_EQ(capacitorBank.color, kBlack);
    EXPECT_EQ(capacitor.color, kBlack);

    // Transformer fonts are not power-line fonts.
    model->ApplyFontSettings(ElementType::Transformer, kBlue, 2, fonts);
    EXPECT_EQ(transformer.color, kBlue);
    EXPECT_EQ(regulating.color, kBlue);
    EXPECT_EQ(line.color, kBlack);

    // A type without a kind changes nothing.
    for (int type : {0, 23, 29}) model->ApplyFontSettings(type, kWhite, 9, fonts);
    EXPECT_EQ(line.color, kBlack);
}

TEST(ApplyFontSettings, LabelsBelowBothTheListAndTheApplicationsCount) {
    TestModel model;
    FakeElement& load = model.Add(ElementType::Load);
    std::vector<FontSetting> fonts(3);
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        fonts[i].color = Rgb(static_cast<std::uint8_t>(i + 1), 0, 0);
        fonts[i].font.height = -static_cast<int>(10 + i);
    }

    struct Case {
        std::size_t applicationCount;
        std::size_t fontsGiven;
        std::size_t labelsSet;
    } cases[] = {{0, 3, 0}, {2, 3, 2}, {5, 3, 3}, {5, 0, 0}};
    for (const auto& c : cases) {
        load.labelColors.clear();
        load.labelFonts.clear();
        model->SetLabelFontCounts(Counts(LabelFontKind::Loads, c.applicationCount));
        model->ApplyFontSettings(ElementType::Load, kRed, 1, std::span(fonts).first(c.fontsGiven));
        EXPECT_EQ(load.labelColors.size(), c.labelsSet) << c.applicationCount << " " << c.fontsGiven;
        EXPECT_EQ(load.color, kRed);
        for (std::size_t i = 0; i < c.labelsSet; ++i) {
            EXPECT_EQ(load.labelColors[static_cast<int>(i)], fonts[i].color);
            EXPECT_EQ(load.labelFonts[static_cast<int>(i)], fonts[i].font);
        }
    }
}

TEST(BackgroundColor, FillsTheNetworkElementsOfNineLists) {
    TestModel model;
    constexpr ColorRef kGrey = Rgb(200, 200, 200);
    std::vector<FakeElement*> filled, kept;
    for (int type : {1, 10, 4, 5, 6, 3, 7, 8, 9}) filled.push_back(&model.Add(type));
    for (int type : {16, 13, 15, 20, 27, 28}) kept.push_back(&model.Add(type));

    model->SetBackgroundColor(kGrey);
    EXPECT_EQ(model->GetBackgroundColor(), kGrey);
    for (FakeElement* element : filled) EXPECT_EQ(element->brushColor, kGrey) << element->classType;
    for (FakeElement* element : kept) EXPECT_EQ(element->brushColor, kWhite) << element->classType;
}

}  // namespace
