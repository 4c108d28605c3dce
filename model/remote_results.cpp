// The remote solver server's result lines read into the elements.

#include "remote_results.h"

#include <charconv>
#include <type_traits>
#include <cmath>

#include "element_interface.h"
#include "element_key.h"
#include "element_list.h"
#include "message_sink.h"
#include "power_system.h"
#include "view.h"

namespace {

// Positions in the value arrays of the elements the lines fill.
constexpr int kBusVoltage = 1;
constexpr int kBusAngle = 2;
constexpr int kPFrom = 19;
constexpr int kTapRatio = 13;
constexpr int kPhaseShift = 12;

// A number as the C runtime reads one, in the C locale: the longest number
// at the token's start; 0 when there is none or it is not finite.
template <typename T>
T NumberOf(std::string_view token) {
    if (token.starts_with('+')) token.remove_prefix(1);
    T value{};
    auto [end, failure] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (failure != std::errc()) return T{};
    if constexpr (std::is_floating_point_v<T>) {
        if (!std::isfinite(value)) return T{};
    }
    return value;
}

struct Keyword {
    const char* text;
    int section;
};

}  // namespace

void RemoteResults::NameBuses(const ElementList& buses) {
    busNames_.clear();
    for (const auto& [key, bus] : buses.Entries()) {
        const std::string name = bus->GetName();
        if (!busNames_.emplace(name, key).second)
            Report("Bus name '" + name + "' is used by more than one bus; remote results for it go to the first one.");
    }
}

void RemoteResults::ReadLine(const std::string& line) {
    std::vector<std::string> tokens;
    tokenizer_.Tokenize(line, tokens);
    if (tokens.empty()) return;
    if (tokens.size() == 1) {
        SelectSection(tokens[0]);
        return;
    }
    static constexpr OnePortSection kGeneratorSection{3, Category::Generator, 0, 1, "Not enough data for generator",
                                                      "Cannot get corresponding bus for generetor description",
                                                      "Cannot get corresponding generator"};
    static constexpr OnePortSection kLoadSection{3, Category::Load, 0, 1, "Not enough data for load",
                                                 "Cannot get corresponding bus for load description",
                                                 "Cannot get corresponding load"};
    static constexpr OnePortSection kShuntSection{3, Category::Shunt, -1, -1, "Not enough data for shunt",
                                                  "Cannot get corresponding bus for shunt description",
                                                  "Cannot get corresponding shunt"};
    static constexpr OnePortSection kVarSection{2, Category::VarCompensator, 1, -1,
                                                "Not enough data for VARCompensator",
                                                "Cannot get corresponding bus for VARCompensator description",
                                                "Cannot get corresponding VARCompensator"};
    static constexpr OnePortSection kReactorSection{2, Category::Reactor, -1, -1, "Not enough data for reactor",
                                                    "Cannot get corresponding bus for reactor description",
                                                    "Cannot get corresponding reactor"};
    static constexpr OnePortSection kCapacitorSection{2, Category::Capacitor, -1, -1, "Not enough data for capacitor",
                                                      "Cannot get corresponding capacitor",
                                                      "Cannot get corresponding capacitor"};
    static constexpr OnePortSection kSyncSection{2, Category::SyncCompensator, 1, -1, "Not enough data for sync. comp.",
                                                 "Cannot get corresponding bus for sync. comp. description",
                                                 "Cannot get corresponding sync. comp."};
    switch (section_) {
        case kData: busNumbers_.clear(); break;
        case kBuses: ReadBus(tokens); break;
        case kLines: ReadLineFlows(tokens); break;
        case kGenerators: ReadOnePort(tokens, kGeneratorSection); break;
        case kLoads: ReadOnePort(tokens, kLoadSection); break;
        case kShunts: ReadOnePort(tokens, kShuntSection); break;
        case kVarCompensators: ReadOnePort(tokens, kVarSection); break;
        case kReactors: ReadOnePort(tokens, kReactorSection); break;
        case kCutsets: ReadCutset(tokens); break;
        case kCapacitors: ReadOnePort(tokens, kCapacitorSection); break;
        case kSyncCompensators: ReadOnePort(tokens, kSyncSection); break;
        default: break;
    }
}

void RemoteResults::SelectSection(const std::string& keyword) {
    static constexpr Keyword kKeywords[] = {
        {"DATA", kData},         {"BUSES", kBuses},     {"LINES", kLines},           {"GENERATORS", kGenerators},
        {"LOADS", kLoads},       {"SHUNTS", kShunts},   {"SVCS", kVarCompensators},  {"REACTORS", kReactors},
        {"CUTSETS", kCutsets},   {"CAPACITORS", kCapacitors}, {"SYNCCOMPS", kSyncCompensators}, {"END", kEnd},
    };
    section_ = kNone;
    for (const Keyword& k : kKeywords) {
        if (keyword == k.text) section_ = k.section;
    }
    if (section_ == kData) busNumbers_.clear();
    if (section_ == kEnd) {
        if (IView* view = model_.GetView()) {
            view->InvalidateAll();
            view->Update();
        }
    }
}

void RemoteResults::ReadBus(const std::vector<std::string>& tokens) {
    if (tokens.size() < 4) return Report("Not enough data for bus");
    auto named = busNames_.find(tokens[1]);
    IElement* bus = named != busNames_.end() ? model_.FindByKey(named->second) : nullptr;
    double* values = bus ? bus->GetValues() : nullptr;
    if (!values) return Report("Cannot get corresponding bus");
    busNumbers_[NumberOf<int>(tokens[0])] = named->second;
    values[kBusVoltage] = NumberOf<double>(tokens[2]);
    values[kBusAngle] = NumberOf<double>(tokens[3]);
    bus->UpdateResultLabel(nullptr);
}

void RemoteResults::ReadLineFlows(const std::vector<std::string>& tokens) {
    if (tokens.size() < 10) return Report("Not enough data for line");
    const int fromKey = BusKeyOf(tokens[0]);
    const int toKey = BusKeyOf(tokens[1]);
    IElement* branch = fromKey && toKey ? model_.FindAttached(fromKey, Category::Line, toKey) : nullptr;
    double* values = branch ? branch->GetValues() : nullptr;
    if (!values) return Report("Cannot get corresponding line");
    // The server's from bus may be the element's to end.
    const bool reversed = branch->GetEndKeys()[0] != fromKey;
    const int fromAt = reversed ? 4 : 2;
    const int toAt = reversed ? 2 : 4;
    values[kPFrom] = NumberOf<double>(tokens[fromAt]);
    values[kPFrom + 1] = NumberOf<double>(tokens[fromAt + 1]);
    values[kPFrom + 2] = NumberOf<double>(tokens[toAt]);
    values[kPFrom + 3] = NumberOf<double>(tokens[toAt + 1]);
    values[kTapRatio] = NumberOf<double>(tokens[8]);
    values[kPhaseShift] = NumberOf<double>(tokens[9]);
    branch->UpdateResultLabel(nullptr);
}

void RemoteResults::ReadOnePort(const std::vector<std::string>& tokens, const OnePortSection& section) {
    if (tokens.size() < section.tokens) return Report(section.notEnough);
    const int busKey = BusKeyOf(tokens[0]);
    if (!busKey) return Report(section.noBus);
    IElement* element = model_.FindAttached(busKey, section.category);
    double* values = element ? element->GetValues() : nullptr;
    if (!values) return Report(section.noElement);
    if (section.firstValue >= 0) values[section.firstValue] = NumberOf<double>(tokens[1]);
    if (section.secondValue >= 0) values[section.secondValue] = NumberOf<double>(tokens[2]);
    element->UpdateResultLabel(nullptr);
}

void RemoteResults::ReadCutset(const std::vector<std::string>& tokens) {
    if (tokens.size() < 3) return Report("Not enough data for cutset");
    IElement* line = model_.FindByName(tokens[0], Category::FreeLine);
    if (!line) return Report("Cannot get corresponding cutset");
    const double values[2] = {NumberOf<double>(tokens[1]), NumberOf<double>(tokens[2])};
    line->UpdateResultLabel(values);
}

int RemoteResults::BusKeyOf(const std::string& token) const {
    auto found = busNumbers_.find(NumberOf<int>(token));
    return found == busNumbers_.end() ? 0 : found->second;
}

void RemoteResults::Report(const std::string& text) const {
    if (IMessageSink* sink = model_.GetMessageSink()) sink->AddMessage(IMessageSink::Warning, text.c_str());
}
