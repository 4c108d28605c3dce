#pragma once

#include <string>

#include <QString>

#include "archive.h"
#include "doc_template.h"
#include "document_base.h"
#include "view_base.h"

// A document kind for the shell's tests: one line of text in a ".tst"
// file, stored as the archive's counted string. File New does not offer it.
class TextDocument final : public CDocument {
public:
    static constexpr const char* kDocString = "\nText\n\nText Files (*.tst)\n.tst\nText.Document\nText Document";

    std::string text;

    static std::unique_ptr<CDocTemplate> Template() {
        return std::make_unique<CDocTemplate>(
            900, kDocString, [] { return std::make_unique<TextDocument>(); },
            [](CDocument& document) { return new TextView(document); });
    }

    // A view that handles the commands it is given, as a view would.
    class TextView final : public CView {
    public:
        explicit TextView(CDocument& document) : CView(document) {}
    };

protected:
    void Serialize(Archive& archive) override {
        if (archive.IsStoring()) {
            archive.WriteString(text);
        } else {
            text = archive.ReadString();
        }
    }
    void DeleteContents() override { text.clear(); }
};
