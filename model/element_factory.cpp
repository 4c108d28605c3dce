#include "element_factory.h"

#include "element_interface.h"

void ElementFactory::Register(int classType, Maker maker) {
    if (classType > 0 && classType <= ElementType::Last) makers_[classType] = maker;
}

std::unique_ptr<IElement> ElementFactory::Make(int classType) const {
    if (classType <= 0 || classType > ElementType::Last || makers_[classType] == nullptr) return nullptr;
    return makers_[classType]();
}

const ElementFactory& StandardElementFactory() {
    // The element classes enter their makers here as they join the model.
    static const ElementFactory factory;
    return factory;
}
