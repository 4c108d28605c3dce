// The model's life and its settings.

#include "power_system.h"

#include <new>

#include "element_interface.h"
#include "prompt.h"
#include "view.h"

IModel* CreatePowerSystem() { return PowerSystem::Create(); }

PowerSystem* PowerSystem::Create(const ElementFactory& factory) {
    return new (std::nothrow) PowerSystem(factory);
}

PowerSystem::PowerSystem(const ElementFactory& factory) : factory_(factory) {
    font_.height = -14;
    font_.SetFaceName("Arial");

    defaultFont_.height = -11;
    defaultFont_.weight = 400;
    defaultFont_.quality = 2;          // proof quality
    defaultFont_.pitchAndFamily = 18;  // variable pitch, Swiss family
    defaultFont_.SetFaceName("Arial");

    selection_.SetOwning(false);
    marked_.SetOwning(false);
}

PowerSystem::~PowerSystem() {
    current_ = nullptr;
    selection_.DeleteAll();
    marked_.DeleteAll();
    // Elements tell their neighbours to let go of them as they are deleted,
    // so every list stays usable until the last element is gone.
    for (auto list = lists_.rbegin(); list != lists_.rend(); ++list) list->DeleteAll();
}

void PowerSystem::AddRef() { ++references_; }

void PowerSystem::Release() {
    if (--references_ <= 0) delete this;
}

void PowerSystem::SetColorMaps(ColorMap* nominalVoltage, ColorMap* loading, ColorMap* busVoltage) {
    colorMaps_ = {nominalVoltage, loading, busVoltage};
}

void PowerSystem::SetDuplicationSteps(int horizontal, int vertical, int longMove) {
    duplicationHorizontal_ = horizontal;
    duplicationVertical_ = vertical;
    duplicationLongMove_ = longMove;
}

void PowerSystem::GetDuplicationSteps(int& horizontal, int& vertical, int& longMove) const {
    horizontal = duplicationHorizontal_;
    vertical = duplicationVertical_;
    longMove = duplicationLongMove_;
}

void PowerSystem::SetSnapToGrid(bool on, int step) {
    snapToGrid_ = on;
    gridStep_ = step;
}

ColorMap* PowerSystem::GetColorMap(int mode) const {
    if (mode == -1) mode = colorMapMode_;
    switch (mode) {
        case kNominalVoltageColors: return colorMaps_[0];
        case kLoadingColors: return colorMaps_[1];
        case kBusVoltageColors: return colorMaps_[2];
        default: return nullptr;
    }
}

void PowerSystem::SetBackgroundColor(ColorRef color) {
    backgroundColor_ = color;
    for (ListId id : {kBuses, kLines, kGenerators, kSyncCompensators, kVarCompensators, kLoads, kShunts,
                      kCapacitors, kReactors}) {
        for (const auto& [key, element] : lists_[id].Entries()) element->SetBrushColor(color);
    }
}

void PowerSystem::SendToRemoteSolver(std::string_view command) {
    if (view_ && !command.empty()) view_->SendToRemoteSolver(command);
}

void PowerSystem::ShowMessageBox(std::string_view text) const {
    if (prompt_) prompt_->MessageBox(text, "", PromptIcon::Warning, PromptButtons::Ok);
}
