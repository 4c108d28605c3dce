#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "qt_prompt_service.h"
#include "scripted_prompt_service.h"

namespace {

TEST(PromptService, FilterPairsBecomeOneQtFilter) {
    // A description's own parentheses give way to the patterns Qt reads.
    const FileFilter filters[] = {{"PF Files (*.pf)", "*.pf"},
                                  {"Pictures", "*.emf;*.bmp"},
                                  {"All Files (*.*)", "*"},
                                  {"Result Data (*.PRN,*.TXT,*.DAT) ", "*.PRN;*.TXT;*.DAT"}};
    EXPECT_EQ(QtFilterString(filters),
              "PF Files (*.pf);;Pictures (*.emf *.bmp);;All Files (*);;Result Data (*.PRN *.TXT *.DAT)");
}

TEST(PromptService, TheModelsSingleByteTextsReachTheUserInUnicode) {
    ScriptedPromptService prompts;
    prompts.answers = {PromptAnswer::No};
    IPrompt& model = prompts;
    EXPECT_EQ(model.MessageBox("Sabirnica \xC8" "a\xE8" "ak", "Gre\x9A" "ka", PromptIcon::Warning, PromptButtons::YesNo),
              PromptAnswer::No);
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0].text, QString::fromUtf8("Sabirnica \u010Ca\u010Dak"));
    EXPECT_EQ(prompts.Messages()[0].caption, QString::fromUtf8("Gre\u0161ka"));
    EXPECT_EQ(prompts.Messages()[0].icon, PromptIcon::Warning);
}

// Presses a button of the message box that is about to be shown.
void PressLater(QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box != nullptr && box->button(button) != nullptr) box->button(button)->click();
    });
}

TEST(PromptService, MessageBoxesAnswerTheButtonPressed) {
    QtPromptService prompts;
    struct Case {
        PromptButtons buttons;
        QMessageBox::StandardButton pressed;
        PromptAnswer answer;
    };
    const Case cases[] = {
        {PromptButtons::Ok, QMessageBox::Ok, PromptAnswer::Ok},
        {PromptButtons::OkCancel, QMessageBox::Cancel, PromptAnswer::Cancel},
        {PromptButtons::YesNo, QMessageBox::No, PromptAnswer::No},
        {PromptButtons::YesNoCancel, QMessageBox::Yes, PromptAnswer::Yes},
        {PromptButtons::YesNoCancel, QMessageBox::Cancel, PromptAnswer::Cancel},
    };
    for (const Case& c : cases) {
        PressLater(c.pressed);
        EXPECT_EQ(prompts.Ask("Save changes to Untitled?", "", PromptIcon::Warning, c.buttons), c.answer);
    }
}

}  // namespace
