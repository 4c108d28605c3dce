#pragma once

#include "document_base.h"
#include "model_interface.h"

class CTavrinApp;

// The network document (".pf"). It owns one network model, made when the
// document is and released with it, and lends the model what the
// application shares: prompts, text measuring, the element clipboard, the
// colour maps and the label-font counts.
class CTavrinDoc : public CDocument {
public:
    // The document string of the network template (resource 129).
    static constexpr const char* kDocString =
        "\nUntitled\nPF Document\nPF Files (*.pf)\n.pf\nPF.Document.4\nPF Document";
    static constexpr int kResourceId = 129;

    explicit CTavrinDoc(CTavrinApp& application);

    // Null only when the model could not be made.
    IModel* GetModel() const { return model_.get(); }

    bool OnNewDocument() override;

protected:
    void Serialize(Archive& archive) override;

private:
    CTavrinApp& application_;
    ModelReference model_;
};
