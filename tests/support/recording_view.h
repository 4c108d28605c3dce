#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "view.h"

// A view that keeps every call and answers the dialogs as a test sets it up.
class RecordingView final : public IView {
public:
    enum class Op { InvalidateRect, InvalidateAll, Update, CaptureMouse, ReleaseMouse, SetScrollSizes, Message };

    struct Call {
        Op op = Op::Message;
        int message = 0;  // the ViewMessage of Op::Message
        Rect rect;
        Size size;
        const IElement* element = nullptr;
        int first = 0;   // branch kind, flags, number of fonts, or started
        int second = 0;  // code or restricted
        std::string text;
    };

    std::vector<Call> calls;
    // Answers of the dialogs and the scroll position.
    bool propertiesAnswer = true;
    std::optional<ColorRef> fillAndFontAnswer;
    Point scrollPosition;
    bool mouseCaptured = false;

    void InvalidateRect(const Rect& area) override { Add(Op::InvalidateRect).rect = area; }
    void InvalidateAll() override { Add(Op::InvalidateAll); }
    void Update() override { Add(Op::Update); }
    void CaptureMouse() override {
        mouseCaptured = true;
        Add(Op::CaptureMouse);
    }
    void ReleaseMouse() override {
        mouseCaptured = false;
        Add(Op::ReleaseMouse);
    }
    void SetScrollSizes(Size total) override { Add(Op::SetScrollSizes).size = total; }
    Point GetScrollPosition() override { return scrollPosition; }

    bool OpenProperties(IElement* element, int branchKind) override {
        Message(kOpenPropertiesMessage, element, branchKind, 0);
        return propertiesAnswer;
    }
    void ToolStateChanged(int flags, int code) override { Message(kToolStateMessage, nullptr, flags, code); }
    void OpenContextMenu(IElement* element, bool restricted) override {
        Message(kToolStateMessage, element, 0, restricted);
    }
    std::optional<ColorRef> EditFillAndFont(IElement* element, std::span<FontSetting> fonts) override {
        Message(kFillAndFontMessage, element, static_cast<int>(fonts.size()), 0);
        return fillAndFontAnswer;
    }
    void SendToRemoteSolver(std::string_view bytes) override {
        Message(kRemoteSendMessage, nullptr, 0, 0);
        calls.back().text = bytes;
    }
    void NodeDrawingChanged(bool started) override { Message(kNodeDrawingMessage, nullptr, started, 0); }

    // The messages sent, in order.
    std::vector<Call> Messages() const {
        std::vector<Call> found;
        for (const auto& call : calls) {
            if (call.op == Op::Message) found.push_back(call);
        }
        return found;
    }

private:
    Call& Add(Op op) {
        Call& call = calls.emplace_back();
        call.op = op;
        return call;
    }
    void Message(int message, const IElement* element, int first, int second) {
        Call& call = Add(Op::Message);
        call.message = message;
        call.element = element;
        call.first = first;
        call.second = second;
    }
};
