#pragma once

#include "document_base.h"

// The network document (".pf"). Its content is the network model, which
// reads and writes the document's archive.
class CTavrinDoc : public CDocument {
public:
    // The document string of the network template (resource 129).
    static constexpr const char* kDocString =
        "\nUntitled\nPF Document\nPF Files (*.pf)\n.pf\nPF.Document.4\nPF Document";
    static constexpr int kResourceId = 129;

protected:
    void Serialize(Archive& archive) override;
};
