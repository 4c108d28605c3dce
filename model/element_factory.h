#pragma once

#include <array>
#include <memory>

#include "element_type.h"

class IElement;

// Makes an empty element of a class from its class type, as the document
// reader and the editing tools need it. Each element class enters its maker
// under its type; a type without a class makes nothing.
class ElementFactory {
public:
    using Maker = std::unique_ptr<IElement> (*)();

    void Register(int classType, Maker maker);
    // Null for a type that no class has entered (0, 23, 25, 26, above 28).
    std::unique_ptr<IElement> Make(int classType) const;

private:
    std::array<Maker, ElementType::Last + 1> makers_{};
};

// The element classes of the program.
const ElementFactory& StandardElementFactory();
