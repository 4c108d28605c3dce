#pragma once

#include <memory>

class ElementDialog;
class IElement;
class PromptService;
class QWidget;

// The properties dialog of the element's kind, chosen by its category;
// null for a kind that has none.
std::unique_ptr<ElementDialog> MakeElementDialog(IElement& element, PromptService& prompts, QWidget* parent);

// Runs the element's properties dialog modally; true when it closed with
// OK. The free elements' text is their name, copied in before and out
// after OK. A kind without a dialog says so and answers false.
bool RunElementProperties(IElement& element, PromptService& prompts, QWidget* parent);
