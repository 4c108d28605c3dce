#include "tavrin_doc.h"

#include "archive.h"
#include "label_names.h"
#include "prompt_service.h"
#include "tavrin_app.h"

CTavrinDoc::CTavrinDoc(CTavrinApp& application) : application_(application), model_(CreatePowerSystem()) {
    if (!model_) return;
    model_->SetPrompt(&application.Prompts());
    model_->SetTextMeasurer(&application.TextMeasurer());
    model_->SetClipboard(&application.Clipboard());
    model_->SetColorMaps(&application.NominalVoltageMap(), &application.LoadingMap(), &application.BusVoltageMap());
    model_->SetLabelFontCounts(LabelFontCountsOfLists());
}

bool CTavrinDoc::OnNewDocument() {
    if (!model_) {
        application_.Prompts().Ask("There is not enough memory for a new network.", {}, PromptIcon::Error,
                                   PromptButtons::Ok);
        return false;
    }
    return CDocument::OnNewDocument();
}

void CTavrinDoc::Serialize(Archive&) {
    // The ".pf" format belongs to the network model, which cannot read or
    // write it yet; saying so keeps every existing file as it is.
    throw ArchiveError(ArchiveError::Kind::FileFailure,
                       "This version of the program cannot read or write network documents (.pf) yet.");
}
