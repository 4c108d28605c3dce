#pragma once

#include <optional>
#include <span>
#include <string>

// The rules of the line and transformer dialogs that depend on the data
// alone, apart from any window.

// The load-factor text: "%.2f" per cent of the rating, or the note that the
// rating is missing. A line is loaded by its end current over its maximum
// current; a transformer by the larger of its two end powers over its
// rated power.
std::string LineLoadFactorText(std::span<const double> record);
std::string TransformerLoadFactorText(std::span<const double> record);

// Label flag 3, the load factor shown: 0 not at all, 1 as the power loss,
// 2 as a percentage.
int LoadFactorFlag(bool shown, bool asPercentage);

// What a regulating transformer's dialog shows for a regulation type
// (0 voltage by tap, 1 Mvar held, 2 Mvar band, 3 MW held by phase shift,
// 4 MW band), with the variable tap at the From or the To winding.
struct RegulationLayout {
    // Type 0 lets the user pick the controlled end; every other type
    // controls the To end.
    bool controlledBusEnabled = true;
    const char* minimumLabel = nullptr;
    const char* maximumLabel = nullptr;
    // The tap fields' enables follow the variable tap for the tap-changing
    // types; the phase shifters leave them as they are.
    std::optional<bool> fromTapEnabled;
    std::optional<bool> toTapEnabled;
    // The controlled quantities: the first field, and the second of the
    // band types; null for a hidden pair.
    const char* firstQuantityLabel = nullptr;
    const char* secondQuantityLabel = nullptr;
    // The record's indices behind the two fields: the flow to hold is the
    // band's low end; a band's first field is its high end.
    int firstQuantityIndex = 0;
    int secondQuantityIndex = 0;
};
RegulationLayout RegulationLayoutFor(int type, bool tapAtFrom);
