#include "label_names.h"

#include <array>

namespace {

constexpr std::array<std::string_view, 2> kBus{"Bus Name", "Bus Voltage and Angle values"};
constexpr std::array<std::string_view, 3> kNetworkEquivalent{"Network Name", "Network Voltage and Angle values",
                                                             "Network PQ Generation"};
constexpr std::array<std::string_view, 1> kSwitchingDevice{"PQ flowing trough the element"};
constexpr std::array<std::string_view, 4> kPowerLine{"Line Name", "PQ injected at FROM line side",
                                                     "PQ injected at TO line side", "PQ losses"};
constexpr std::array<std::string_view, 5> kTransformer{"Line Name", "PQ injected at FROM line side",
                                                       "PQ injected at TO line side", "PQ losses",
                                                       "Transformer ratio"};
constexpr std::array<std::string_view, 1> kShunt{"Shunt values"};
constexpr std::array<std::string_view, 1> kLoad{"PQ load values"};
constexpr std::array<std::string_view, 1> kGenerator{"Generating power"};
constexpr std::array<std::string_view, 1> kTextAndDrawing{"Free text content"};
constexpr std::array<std::string_view, 1> kFreeLine{"Line name"};
constexpr std::array<std::string_view, 1> kDefaults{"All Fonts"};

// The family whose list gives each of the model's label-font kinds its
// length, in the order of LabelFontKind.
constexpr std::array<LabelFamily, kLabelFontKindCount> kFamilyOfKind{
    LabelFamily::Bus,       LabelFamily::SwitchingDevice, LabelFamily::PowerLine,
    LabelFamily::Transformer, LabelFamily::Shunt,         LabelFamily::Load,
    LabelFamily::Generator, LabelFamily::TextAndDrawing,  LabelFamily::FreeLine,
};

}  // namespace

std::span<const std::string_view> LabelNames(LabelFamily family) {
    switch (family) {
        case LabelFamily::Bus: return kBus;
        case LabelFamily::NetworkEquivalent: return kNetworkEquivalent;
        case LabelFamily::SwitchingDevice: return kSwitchingDevice;
        case LabelFamily::PowerLine: return kPowerLine;
        case LabelFamily::Transformer: return kTransformer;
        case LabelFamily::Shunt: return kShunt;
        case LabelFamily::Load: return kLoad;
        case LabelFamily::Generator: return kGenerator;
        case LabelFamily::TextAndDrawing: return kTextAndDrawing;
        case LabelFamily::FreeLine: return kFreeLine;
        case LabelFamily::Defaults: break;
    }
    return kDefaults;
}

LabelFontCounts LabelFontCountsOfLists() {
    LabelFontCounts counts{};
    for (std::size_t kind = 0; kind < kLabelFontKindCount; ++kind) counts[kind] = LabelNames(kFamilyOfKind[kind]).size();
    return counts;
}
