#include "tavrin_doc.h"

#include "archive.h"
#include "label_names.h"
#include "network_tools.h"
#include "prompt_service.h"
#include "report_interface.h"
#include "tavrin_app.h"

CTavrinDoc::CTavrinDoc(CTavrinApp& application) : application_(application), model_(CreatePowerSystem()) {
    if (!model_) return;
    model_->SetPrompt(&application.Prompts());
    model_->SetTextMeasurer(&application.TextMeasurer());
    model_->SetReportMaker(&createReport);
    model_->SetMessageSink(application.GetMessageSink());
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
    if (!CDocument::OnNewDocument()) return false;
    new_ = true;
    return true;
}

void CTavrinDoc::SetTool(int tool) {
    if (tool == tool_) return;
    const bool keepsSelection = tool_ == EditTool::Selection && tool == EditTool::MoveNodes;
    if (model_ && !keepsSelection) model_->ClearSelection();
    tool_ = tool;
}

void CTavrinDoc::SetRemote(bool remote) {
    if (model_) model_->SetRemote(remote);
}

bool CTavrinDoc::IsRemote() const { return model_ && model_->IsRemote(); }

void CTavrinDoc::SetView(IView* view) {
    if (model_) model_->SetView(view);
}

void CTavrinDoc::ReadResultLine(const std::string& line) {
    if (model_) model_->ReadResultLine(line);
}

void CTavrinDoc::Draw(DrawingContext& dc, const Rect* area) {
    if (model_) model_->Draw(dc, area);
}

bool CTavrinDoc::HandleEditEvent(int event, const EditEventArgs& args, IView* view) {
    bool changed = false;
    if (editTarget_ != nullptr) {
        changed = editTarget_->HandleEditEvent(event, tool_, args, view);
    } else if (model_) {
        // The model takes a key's repeat count in the point's x, and the
        // band as a rectangle of its own.
        if (event == EditEvent::SelectInRect) {
            changed = model_->HandleEditEvent(event, tool_, args.flags, nullptr, view, &args.band);
        } else {
            const Point point = event == EditEvent::Key ? Point{args.count, 0} : args.point;
            changed = model_->HandleEditEvent(event, tool_, args.flags, &point, view);
        }
    }
    if (changed) SetModifiedFlag();
    return changed;
}

void CTavrinDoc::Serialize(Archive& archive) {
    // The model refuses a document it cannot read whole and is left as it
    // was; the failure reaches the user through the document's report.
    if (!model_) throw ArchiveError(ArchiveError::Kind::Refused, "There is no network model to read or write.");
    new_ = false;
    model_->SerializeModel(archive);
}
