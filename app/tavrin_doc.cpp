#include "tavrin_doc.h"

#include "archive.h"
#include "label_names.h"
#include "prompt_service.h"
#include "report_interface.h"
#include "tavrin_app.h"

CTavrinDoc::CTavrinDoc(CTavrinApp& application) : application_(application), model_(CreatePowerSystem()) {
    if (!model_) return;
    model_->SetPrompt(&application.Prompts());
    model_->SetTextMeasurer(&application.TextMeasurer());
    model_->SetReportMaker(&createReport);
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

void CTavrinDoc::Serialize(Archive& archive) {
    // The model refuses a document it cannot read whole and is left as it
    // was; the failure reaches the user through the document's report.
    if (!model_) throw ArchiveError(ArchiveError::Kind::Refused, "There is no network model to read or write.");
    model_->SerializeModel(archive);
}
