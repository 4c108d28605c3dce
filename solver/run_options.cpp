#include "run_options.h"

namespace {

// A host continuation stops its lower branch at this share of the largest
// lambda (option S) and starts at this load parameter (option L).
constexpr double kHostStopShare = 0.8;
constexpr double kHostStartLambda = 0.1;

bool IsOptionItem(const char* item, char letter) {
    return item && item[0] == '-' && item[1] == letter;
}

}  // namespace

void RunOptions::SetArguments(int count, const char* const* items) {
    const std::size_t size = items && count > 0 ? static_cast<std::size_t>(count) : 0;
    texts_.assign(size, std::string());
    items_.assign(size, nullptr);
    for (std::size_t i = 0; i < size; ++i) {
        if (!items[i]) continue;
        texts_[i] = items[i];
        items_[i] = texts_[i].c_str();
    }
}

void RunOptions::BeginHostContinuation(const char* table) {
    mode_ = 1;
    hostContinuation_ = true;
    hostText_ = table ? table : "";
}

void RunOptions::EndHostContinuation() {
    hostContinuation_ = false;
}

bool RunOptions::Has(char letter) const {
    if (mode_ == 1) {
        if (letter == 'H') return false;
        if (letter == 'c') return hostContinuation_;
        if (letter == 'L' && hostContinuation_) return true;
    }
    for (std::size_t i = 1; i < items_.size(); ++i)
        if (IsOptionItem(items_[i], letter)) return true;
    return false;
}

const char* RunOptions::Value(char letter) const {
    if (mode_ == 1) {
        if (letter == 'H' || letter == 'c') return hostContinuation_ ? hostText_.c_str() : nullptr;
        if (letter == 'K') return hostText_.c_str();
    }
    for (std::size_t i = 1; i < items_.size(); ++i)
        if (IsOptionItem(items_[i], letter)) return items_[i] + 2;
    return nullptr;
}

std::optional<double> RunOptions::HostNumber(char letter) const {
    if (!hostContinuation_) return std::nullopt;
    if (letter == 'S') return kHostStopShare;
    if (letter == 'L') return kHostStartLambda;
    return std::nullopt;
}

std::optional<std::string> RunOptions::FileArgument(int n) const {
    int seen = 0;
    for (std::size_t i = 1; i < items_.size(); ++i) {
        const char* item = items_[i];
        if (!item || item[0] == '-') continue;
        if (++seen == n) return std::string(item[0] == '>' ? item + 1 : item);
    }
    return std::nullopt;
}
