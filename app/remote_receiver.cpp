#include "remote_receiver.h"

#include <algorithm>
#include <optional>

namespace {

constexpr std::string_view kHeaderStart = "<HEADER INFO";
constexpr std::size_t kHeaderEnd = RemoteReceiver::kHeaderSize - 1;  // the byte that must be '>'

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

// The decimal number after the header's start, blanks and a sign allowed
// before it; what follows it up to the end byte is not looked at. Nothing
// when there are no digits.
std::optional<std::int64_t> AnnouncedSize(std::string_view header) {
    std::string_view field = header.substr(kHeaderStart.size(), kHeaderEnd - kHeaderStart.size());
    std::size_t at = 0;
    while (at < field.size() && IsBlank(field[at])) ++at;
    bool negative = false;
    if (at < field.size() && (field[at] == '+' || field[at] == '-')) negative = field[at++] == '-';
    // At most 16 digits fit the field, far inside 64 bits.
    std::int64_t size = 0;
    const std::size_t firstDigit = at;
    for (; at < field.size() && field[at] >= '0' && field[at] <= '9'; ++at) size = size * 10 + (field[at] - '0');
    if (at == firstDigit) return std::nullopt;
    return negative ? -size : size;
}

RemoteAction Message(const char* text) { return {RemoteAction::Kind::Message, text}; }

}  // namespace

std::vector<RemoteAction> RemoteReceiver::Feed(std::string_view block) {
    std::vector<RemoteAction> actions;
    while (!block.empty()) {
        switch (phase_) {
            case Phase::Header: TakeHeader(block, actions); break;
            case Phase::File: TakeFile(block, actions); break;
            case Phase::Lines: TakeLines(block, actions); break;
        }
    }
    return actions;
}

void RemoteReceiver::TakeHeader(std::string_view& block, std::vector<RemoteAction>& actions) {
    const std::size_t taken = std::min(block.size(), kHeaderSize - header_.size());
    header_.append(block.substr(0, taken));
    block.remove_prefix(taken);
    // A refused header takes the rest of its block with it; the next block
    // is taken as a header again.
    auto refuse = [&](const char* message) {
        actions.push_back(Message(message));
        header_.clear();
        block = {};
    };
    if (header_.size() >= kHeaderStart.size() && !header_.starts_with(kHeaderStart)) return refuse(kWrongHeader);
    if (header_.size() < kHeaderSize) return;
    const std::optional<std::int64_t> size = AnnouncedSize(header_);
    if (header_[kHeaderEnd] != '>' || !size || *size <= 0 || *size > kMaxFileSize) return refuse(kHeaderEndMissing);
    header_.clear();
    remaining_ = *size;
    phase_ = Phase::File;
    actions.push_back({RemoteAction::Kind::CreateFile, {}});
}

void RemoteReceiver::TakeFile(std::string_view& block, std::vector<RemoteAction>& actions) {
    const std::size_t taken = static_cast<std::size_t>(std::min<std::int64_t>(remaining_, block.size()));
    actions.push_back({RemoteAction::Kind::WriteFile, std::string(block.substr(0, taken))});
    block.remove_prefix(taken);
    remaining_ -= static_cast<std::int64_t>(taken);
    if (remaining_ > 0) return;
    phase_ = Phase::Lines;
    actions.push_back({RemoteAction::Kind::OpenDocument, {}});
}

void RemoteReceiver::TakeLines(std::string_view& block, std::vector<RemoteAction>& actions) {
    for (;;) {
        const auto end = std::find_if(block.begin(), block.end(), IsLineEnd);
        if (unendedLine_.size() + static_cast<std::size_t>(end - block.begin()) > kMaxLineLength) {
            actions.push_back(Message(kLineTooLong));
            actions.push_back({RemoteAction::Kind::Close, {}});
            Reset();
            break;
        }
        unendedLine_.append(block.begin(), end);
        if (end == block.end()) break;
        // Runs of line ends, "\r\n" among them, make no empty lines.
        if (!unendedLine_.empty()) actions.push_back({RemoteAction::Kind::ResultLine, std::move(unendedLine_)});
        unendedLine_.clear();
        block.remove_prefix(static_cast<std::size_t>(end - block.begin()) + 1);
    }
    block = {};
}

std::vector<RemoteAction> RemoteReceiver::ServerClosed() {
    std::vector<RemoteAction> actions;
    if (phase_ == Phase::Lines && !unendedLine_.empty()) {
        actions.push_back({RemoteAction::Kind::ResultLine, std::move(unendedLine_)});
    }
    actions.push_back(Message(kServerClosed));
    actions.push_back({RemoteAction::Kind::Close, {}});
    Reset();
    return actions;
}

void RemoteReceiver::Reset() {
    phase_ = Phase::Header;
    header_.clear();
    remaining_ = 0;
    unendedLine_.clear();
}
