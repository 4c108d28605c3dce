#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "prompt.h"
#include "recording_prompt.h"
#include "recording_view.h"
#include "view.h"

namespace {

TEST(ViewAndPrompt, MessagesKeepTheirNumbersFromTheBase) {
    RecordingView recording;
    recording.propertiesAnswer = false;
    recording.fillAndFontAnswer = kRed;
    IView& view = recording;
    auto* element = reinterpret_cast<IElement*>(&recording);  // any address stands for an element

    EXPECT_FALSE(view.OpenProperties(element, 2));
    view.ToolStateChanged(0, 3);
    view.OpenContextMenu(element, true);
    EXPECT_EQ(view.EditFillAndFont(element, {}), std::optional<ColorRef>(kRed));
    view.SendToRemoteSolver("SWITCH");
    view.NodeDrawingChanged(true);

    std::vector<int> numbers;
    for (const auto& call : recording.Messages()) numbers.push_back(call.message);
    EXPECT_EQ(numbers, (std::vector<int>{1025, 1026, 1026, 1027, 1028, 1029}));
    EXPECT_EQ(recording.Messages()[4].text, "SWITCH");
}

TEST(ViewAndPrompt, PromptsAreKeptAndAnswered) {
    RecordingPrompt recording;
    recording.answer = PromptAnswer::Cancel;
    IPrompt& prompt = recording;
    EXPECT_EQ(prompt.MessageBox("LogFont = NULL", "PrimitiveText::SetFont", PromptIcon::Warning,
                                PromptButtons::Ok),
              PromptAnswer::Cancel);
    ASSERT_EQ(recording.boxes.size(), 1u);
    EXPECT_EQ(recording.boxes[0].caption, "PrimitiveText::SetFont");
    EXPECT_EQ(recording.boxes[0].text, "LogFont = NULL");
}

}  // namespace
