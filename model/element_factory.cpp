#include "element_factory.h"

#include "bus.h"
#include "connection_node.h"
#include "element_interface.h"
#include "generator.h"
#include "load.h"
#include "network_equivalent.h"
#include "power_line.h"
#include "shunt.h"
#include "switching_element.h"
#include "transformer.h"
#include "variable_bank.h"

void ElementFactory::Register(int classType, Maker maker) {
    if (classType > 0 && classType <= ElementType::Last) makers_[classType] = maker;
}

std::unique_ptr<IElement> ElementFactory::Make(int classType) const {
    if (classType <= 0 || classType > ElementType::Last || makers_[classType] == nullptr) return nullptr;
    return makers_[classType]();
}

namespace {

template <typename Element>
std::unique_ptr<IElement> MakeEmpty() {
    return std::make_unique<Element>();
}

}  // namespace

const ElementFactory& StandardElementFactory() {
    // The element classes enter their makers here as they join the model.
    static const ElementFactory factory = [] {
        ElementFactory f;
        f.Register(ElementType::Bus, &MakeEmpty<Bus>);
        f.Register(ElementType::HorizontalBus, &MakeEmpty<HorizontalBus>);
        f.Register(ElementType::NetworkEquivalent, &MakeEmpty<NetworkEquivalent>);
        f.Register(ElementType::ConnectionNode, &MakeEmpty<ConnectionNode>);
        f.Register(ElementType::Load, &MakeEmpty<Load>);
        f.Register(ElementType::Generator, &MakeEmpty<Generator>);
        f.Register(ElementType::SyncCompensator, &MakeEmpty<SyncCompensator>);
        f.Register(ElementType::VarCompensator, &MakeEmpty<VarCompensator>);
        f.Register(ElementType::Shunt, &MakeEmpty<Shunt>);
        f.Register(ElementType::Capacitor, &MakeEmpty<Capacitor>);
        f.Register(ElementType::Reactor, &MakeEmpty<Reactor>);
        f.Register(ElementType::VariableBank, &MakeEmpty<VariableBank>);
        f.Register(ElementType::VariableReactorBank, &MakeEmpty<VariableReactorBank>);
        f.Register(ElementType::PowerLine, &MakeEmpty<PowerLine>);
        f.Register(ElementType::Transformer, &MakeEmpty<Transformer>);
        f.Register(ElementType::RegulatedTransformer, &MakeEmpty<RegulatedTransformer>);
        f.Register(ElementType::Connector, &MakeEmpty<Connector>);
        f.Register(ElementType::Disconnector, &MakeEmpty<Disconnector>);
        f.Register(ElementType::CircuitBreaker, &MakeEmpty<CircuitBreaker>);
        f.Register(ElementType::Fuse, &MakeEmpty<Fuse>);
        return f;
    }();
    return factory;
}
