#include <gtest/gtest.h>

#include <QFontDialog>
#include <QPushButton>

#include "qt_font_chooser.h"
#include "scripted_prompt_service.h"

namespace {

FontChoice LabelFont() {
    FontChoice choice;
    choice.font.SetFaceName("Arial");
    choice.font.height = -13;
    choice.font.weight = 400;
    choice.font.escapement = 900;
    choice.font.charSet = 238;
    choice.font.pitchAndFamily = 18;
    choice.font.quality = 2;
    choice.font.outPrecision = 3;
    choice.color = Rgb(0, 0, 128);
    return choice;
}

TEST(FontChooser, ANewFaceSizeAndWeightKeepTheRecordsOtherFields) {
    ScriptedPromptService prompts;
    FontChooser chooser(LabelFont(), prompts);
    QFont chosen("Liberation Serif");
    chosen.setPixelSize(20);
    chosen.setWeight(QFont::Bold);
    chosen.setUnderline(true);
    chooser.findChild<QFontDialog*>()->setCurrentFont(chosen);

    FontChoice choice = chooser.Choice();
    EXPECT_EQ(choice.font.FaceName(), "Liberation Serif");
    EXPECT_EQ(choice.font.height, -20);
    EXPECT_EQ(choice.font.weight, 700);
    EXPECT_EQ(choice.font.underline, 1);
    EXPECT_EQ(choice.font.italic, 0);
    EXPECT_EQ(choice.font.charSet, 238);
    EXPECT_EQ(choice.font.pitchAndFamily, 18);
    EXPECT_EQ(choice.font.quality, 2);
    EXPECT_EQ(choice.font.outPrecision, 3);
    EXPECT_EQ(choice.font.escapement, 900);
    EXPECT_EQ(choice.color, Rgb(0, 0, 128));
}

TEST(FontChooser, StartsFromTheRecordAndAsksTheServiceForTheColour) {
    ScriptedPromptService prompts;
    prompts.colors = {std::nullopt, Rgb(200, 0, 0)};
    FontChooser chooser(LabelFont(), prompts);
    EXPECT_EQ(chooser.findChild<QFontDialog*>()->currentFont().family(), "Liberation Sans");

    QPushButton* colorButton = nullptr;
    for (QPushButton* button : chooser.findChildren<QPushButton*>()) {
        if (button->text().isEmpty()) colorButton = button;
    }
    ASSERT_NE(colorButton, nullptr);
    colorButton->click();  // cancelled
    EXPECT_EQ(chooser.Choice().color, Rgb(0, 0, 128));
    colorButton->click();
    EXPECT_EQ(chooser.Choice().color, Rgb(200, 0, 0));
    ASSERT_EQ(prompts.prompts.size(), 2u);
    EXPECT_EQ(prompts.prompts[1].initialColor, Rgb(0, 0, 128));
}

}  // namespace
