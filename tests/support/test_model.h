#pragma once

#include <memory>
#include <stdexcept>
#include <utility>

#include "element_factory.h"
#include "element_type.h"
#include "fake_element.h"
#include "power_system.h"

// The category under which an element of a class type is filed.
constexpr int CategoryOfType(int classType) {
    switch (classType) {
        case ElementType::HorizontalBus:
        case ElementType::NetworkEquivalent:
        case ElementType::ConnectionNode: return Category::Bus;
        case ElementType::Transformer:
        case ElementType::RegulatedTransformer: return Category::Line;
        case ElementType::ArrowedFreeLine: return Category::FreeLine;
        case ElementType::Disconnector:
        case ElementType::CircuitBreaker:
        case ElementType::Fuse: return Category::Connector;
        default: return classType;
    }
}

// Every class type of the program makes a FakeElement of that type.
inline const ElementFactory& FakeElementFactory() {
    static const ElementFactory factory = [] {
        ElementFactory f;
        [&]<int... Types>(std::integer_sequence<int, Types...>) {
            ((Types != 0 && Types != 23 && Types != 25 && Types != 26
                  ? f.Register(Types, &FakeElement::Make<Types, CategoryOfType(Types)>)
                  : void()),
             ...);
        }(std::make_integer_sequence<int, ElementType::Last + 1>{});
        return f;
    }();
    return factory;
}

// A model over test elements, holding the one reference of its owner.
class TestModel {
public:
    TestModel() : model_(PowerSystem::Create(FakeElementFactory())) { model_->AddRef(); }
    TestModel(const TestModel&) = delete;
    TestModel& operator=(const TestModel&) = delete;
    ~TestModel() { model_->Release(); }

    PowerSystem* operator->() const { return model_; }
    PowerSystem& operator*() const { return *model_; }

    // Makes an element of the class with a new key of its category, places
    // it at `rect` and files it; the model names it. Throws when it is not
    // filed.
    FakeElement& Add(int classType, Rect rect = {}) {
        std::unique_ptr<IElement> made = model_->CreateElement(classType);
        auto& element = static_cast<FakeElement&>(*made);
        element.key = model_->NewKey(element.category, false);
        element.rect = rect;
        if (!model_->AddElement(&element)) throw std::logic_error("the test element was not filed");
        made.release();
        return element;
    }

private:
    PowerSystem* model_;
};
