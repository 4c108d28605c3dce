// The model's lists: keys, making and filing elements, default names and
// the look-ups by key and by name.

#include <string>
#include <string_view>

#include "bus.h"
#include "element_interface.h"
#include "element_key.h"
#include "element_type.h"
#include "key_generator.h"
#include "message_sink.h"
#include "power_system.h"

namespace {

struct CategoryList {
    int category;
    PowerSystem::ListId list;
};

constexpr CategoryList kCategoryLists[] = {
    {Category::Bus, PowerSystem::kBuses},
    {Category::Line, PowerSystem::kLines},
    {Category::Generator, PowerSystem::kGenerators},
    {Category::SyncCompensator, PowerSystem::kSyncCompensators},
    {Category::VarCompensator, PowerSystem::kVarCompensators},
    {Category::Load, PowerSystem::kLoads},
    {Category::Shunt, PowerSystem::kShunts},
    {Category::Capacitor, PowerSystem::kCapacitors},
    {Category::CapacitorBank, PowerSystem::kVariableBanks},
    {Category::ReactorBank, PowerSystem::kVariableBanks},
    {Category::Reactor, PowerSystem::kReactors},
    {Category::FreeLine, PowerSystem::kFreeLines},
    {Category::FreeText, PowerSystem::kFreeTexts},
    {Category::Connector, PowerSystem::kConnectors},
    {Category::CircuitBreaker, PowerSystem::kConnectors},
    {Category::Polygon, PowerSystem::kPolygons},
    {Category::SystemInfo, PowerSystem::kSystemInfos},
};

// How a new element of a category is named: a prefix followed by the next
// number of its counter, a fixed name, or no name (some kinds still count).
struct NamingRule {
    int category;
    const char* prefix;
    int NameCounters::*counter;
    enum { Numbered, Fixed, Unnamed } form;
};

constexpr NamingRule kNamingRules[] = {
    {Category::Bus, "Bus", &NameCounters::buses, NamingRule::Numbered},
    {Category::Load, "L", &NameCounters::loads, NamingRule::Numbered},
    {Category::Generator, "Gen", &NameCounters::generators, NamingRule::Numbered},
    {Category::SyncCompensator, "SC", &NameCounters::syncCompensators, NamingRule::Numbered},
    {Category::VarCompensator, "SVC", &NameCounters::varCompensators, NamingRule::Numbered},
    {Category::Shunt, "Sh", &NameCounters::shunts, NamingRule::Numbered},
    {Category::Capacitor, "C", &NameCounters::capacitors, NamingRule::Numbered},
    {Category::Reactor, "Reac", &NameCounters::reactors, NamingRule::Numbered},
    {Category::Line, "Line", &NameCounters::lines, NamingRule::Numbered},
    {Category::FreeLine, "Free Line ", &NameCounters::freeLines, NamingRule::Numbered},
    {Category::FreeText, nullptr, &NameCounters::texts, NamingRule::Unnamed},
    {Category::CapacitorBank, nullptr, &NameCounters::capacitors, NamingRule::Unnamed},
    {Category::ReactorBank, nullptr, &NameCounters::reactors, NamingRule::Unnamed},
    // Numbered by the connectors already filed, not by a counter.
    {Category::Connector, "Connector ", nullptr, NamingRule::Numbered},
    {Category::Polygon, "Poly", nullptr, NamingRule::Fixed},
    {Category::SystemInfo, nullptr, nullptr, NamingRule::Unnamed},
};

const NamingRule* NamingRuleOf(int category) {
    for (const auto& rule : kNamingRules) {
        if (rule.category == category) return &rule;
    }
    return nullptr;
}

// The first element of the list, in key order, named exactly so.
IElement* FirstNamed(const ElementList& list, std::string_view name) {
    for (const auto& [key, element] : list.Entries()) {
        if (element->GetName() == name) return element;
    }
    return nullptr;
}

std::optional<PowerSystem::ListId> ListOf(int category) {
    for (const auto& entry : kCategoryLists) {
        if (entry.category == category) return entry.list;
    }
    return std::nullopt;
}

}  // namespace

ElementList* PowerSystem::ListOfCategory(int category) {
    std::optional<ListId> id = ListOf(category);
    return id ? &lists_[*id] : nullptr;
}

const ElementList* PowerSystem::ListOfCategory(int category) const {
    std::optional<ListId> id = ListOf(category);
    return id ? &lists_[*id] : nullptr;
}

ElementList* PowerSystem::GetElementList(int category) {
    ElementList* list = ListOfCategory(category);
    if (!list) ShowMessageBox("PowerSystem::GetElementList nije zavrsen");
    return list;
}

ElementList* PowerSystem::ListHolding(const IElement* element) {
    int key = element->GetKey();
    ElementList* byKey = ListOfCategory(KeyCategory(key));
    if (byKey && byKey->Find(key) == element) return byKey;
    for (auto& list : lists_) {
        if (list.Find(key) == element) return &list;
    }
    return nullptr;
}

int PowerSystem::NewKey(int category, bool forClipboard) {
    ElementList* list = GetElementList(category);
    if (list && forClipboard) list = clipboard_;
    if (!list) return 0;
    int key = NextFreeKey(*list, category);
    if (key == 0 && sink_) {
        sink_->AddMessage(IMessageSink::Failure,
                          "Cannot add the element: every key of its kind is in use.");
    }
    return key;
}

std::unique_ptr<IElement> PowerSystem::CreateElement(int classType) {
    std::unique_ptr<IElement> element = factory_.Make(classType);
    if (!element) return nullptr;
    element->SetOwner(this);
    if (IsBusType(classType)) element->AutoConnect();
    return element;
}

std::optional<std::string> PowerSystem::NextDefaultName(int category, const ElementList& list) {
    const NamingRule* rule = NamingRuleOf(category);
    if (rule->form == NamingRule::Fixed) return std::string(rule->prefix);
    if (rule->form == NamingRule::Unnamed) {
        if (rule->counter) ++(counters_.*rule->counter);
        return std::nullopt;
    }
    // Counters restart when a document is opened, and remote commands and
    // studies find elements by name: skip the names the list holds.
    int number = rule->counter ? counters_.*rule->counter + 1 : list.GetCount();
    std::string name = rule->prefix + std::to_string(number);
    while (FirstNamed(list, name)) name = rule->prefix + std::to_string(++number);
    if (rule->counter) counters_.*rule->counter = number;
    return name;
}

bool PowerSystem::AddElement(IElement* element) {
    int category = element->GetType(false);
    ElementList* list = ListOfCategory(category);
    if (!list || !NamingRuleOf(category)) {
        ShowMessageBox("PowerSystem::AddElement nije zavrsen");
        return false;
    }
    int key = element->GetKey();
    if (list->Contains(key)) return false;

    ++counters_.elementsAdded;
    InvalidateBusGroups();
    if (auto name = NextDefaultName(category, *list)) element->SetName(*name);
    list->Add(key, element);
    return true;
}

void PowerSystem::RemoveElement(int key) {
    // The groups hold their buses by pointer: none may outlive its bus.
    busGroups_.Clear();
    InvalidateBusGroups();
    if (ElementList* list = ListOfCategory(KeyCategory(key))) {
        if (list->Find(key) == current_) current_ = nullptr;
        list->Remove(key);
    }
    selection_.Remove(key);
    marked_.Remove(key);
}

void PowerSystem::DeleteElement(IElement* element) {
    ElementList* list = ListHolding(element);
    if (!list) return;
    // The groups hold their buses by pointer.
    busGroups_.Clear();
    InvalidateBusGroups();
    int key = element->GetKey();
    list->Remove(key);
    if (selection_.Find(key) == element) selection_.Remove(key);
    if (marked_.Find(key) == element) marked_.Remove(key);
    if (current_ == element) current_ = nullptr;
    delete element;
}

IElement* PowerSystem::FindByKey(int key, const ElementList* list) const {
    if (!IsElementKey(key)) return nullptr;
    if (!list) list = ListOfCategory(KeyCategory(key));
    return list ? list->Find(key) : nullptr;
}

IElement* PowerSystem::FindByName(std::string_view name, int category) const {
    const ElementList* list = ListOfCategory(category);
    return list ? FirstNamed(*list, name) : nullptr;
}

std::optional<std::string> PowerSystem::GetNameOfKey(int key) const {
    const IElement* element = FindByKey(key);
    if (!element) return std::nullopt;
    return element->GetName();
}

void PowerSystem::ApplyRecordToElement(const BusRecord& record) {
    // The record carries only direction totals: the bus keeps its own values.
    if (auto* bus = dynamic_cast<Bus*>(FindByKey(record.key))) bus->ApplyShares(record);
}
