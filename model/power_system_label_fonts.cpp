// Colour, pen and label fonts given to every element of a kind at once.

#include <algorithm>
#include <optional>

#include "element_interface.h"
#include "element_type.h"
#include "font_setting.h"
#include "power_system.h"

namespace {

// The list that holds elements of a class type and the application's
// label-font list that they take.
struct FontTarget {
    PowerSystem::ListId list;
    LabelFontKind fonts;

    bool operator==(const FontTarget&) const = default;
};

std::optional<FontTarget> FontTargetOf(int classType) {
    using enum LabelFontKind;
    switch (classType) {
        case ElementType::Bus:
        case ElementType::HorizontalBus:
        case ElementType::NetworkEquivalent:
        case ElementType::ConnectionNode: return FontTarget{PowerSystem::kBuses, Buses};
        case ElementType::Load: return FontTarget{PowerSystem::kLoads, Loads};
        case ElementType::Generator: return FontTarget{PowerSystem::kGenerators, Generators};
        case ElementType::SyncCompensator: return FontTarget{PowerSystem::kSyncCompensators, Generators};
        case ElementType::VarCompensator: return FontTarget{PowerSystem::kVarCompensators, Generators};
        case ElementType::Shunt: return FontTarget{PowerSystem::kShunts, Shunts};
        case ElementType::Capacitor: return FontTarget{PowerSystem::kCapacitors, Shunts};
        case ElementType::Reactor: return FontTarget{PowerSystem::kReactors, Shunts};
        case ElementType::PowerLine: return FontTarget{PowerSystem::kLines, Lines};
        case ElementType::Transformer:
        case ElementType::RegulatedTransformer: return FontTarget{PowerSystem::kLines, Transformers};
        case ElementType::FreeLine:
        case ElementType::ArrowedFreeLine: return FontTarget{PowerSystem::kFreeLines, FreeLines};
        case ElementType::FreeText: return FontTarget{PowerSystem::kFreeTexts, Texts};
        case ElementType::SystemInfo: return FontTarget{PowerSystem::kSystemInfos, Texts};
        case ElementType::VariableBank: return FontTarget{PowerSystem::kVariableBanks, Generators};
        case ElementType::VariableReactorBank: return FontTarget{PowerSystem::kVariableBanks, Shunts};
        case ElementType::Connector:
        case ElementType::Disconnector:
        case ElementType::CircuitBreaker:
        case ElementType::Fuse: return FontTarget{PowerSystem::kConnectors, Connectors};
        default: return std::nullopt;
    }
}

}  // namespace

void PowerSystem::ApplyFontSettings(int classType, ColorRef color, int penWidth,
                                    std::span<const FontSetting> fonts) {
    std::optional<FontTarget> target = FontTargetOf(classType);
    if (!target) return;
    std::size_t labels = std::min(fonts.size(), labelFontCounts_[static_cast<std::size_t>(target->fonts)]);
    // A list may hold kinds with other label fonts (power lines beside
    // transformers, reactor banks beside capacitor banks): only the elements
    // of the chosen kind take the settings.
    for (const auto& [key, element] : lists_[target->list].Entries()) {
        if (FontTargetOf(element->GetType(true)) != target) continue;
        element->SetColor(color);
        element->SetPenWidth(penWidth);
        for (std::size_t i = 0; i < labels; ++i) {
            element->SetLabelColor(static_cast<int>(i), fonts[i].color);
            element->SetLabelFont(static_cast<int>(i), fonts[i].font);
        }
    }
}
