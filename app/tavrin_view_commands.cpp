// The network window's menu commands that are not studies: editing, the
// colour maps, edit mode and the drawing aids, and the diagram's
// appearance.
#include <array>
#include <utility>

#include "column_tool_bar.h"
#include "command_ids.h"
#include "diagram_area.h"
#include "font_setting.h"
#include "label_names.h"
#include "main_frame.h"
#include "network_dialogs.h"
#include "network_tools.h"
#include "tavrin_app.h"
#include "tavrin_doc.h"
#include "tavrin_view.h"

namespace {

struct ColorMapCommand {
    int command;
    int mode;
};
constexpr ColorMapCommand kColorMapCommands[] = {
    {Command::NormalColorMap, kNormalColors},
    {Command::NominalVoltageColorMap, kNominalVoltageColors},
    {Command::LoadingColorMap, kLoadingColors},
    {Command::VoltageLevelColorMap, kBusVoltageColors},
};

// The four commands that move the selection one long stride, as a held
// arrow key would.
constexpr std::pair<int, int> kPageEndCommands[] = {
    {Command::EndOfPageDown, VirtualKey::Down},
    {Command::EndOfPageRight, VirtualKey::Right},
    {Command::StartOfPageLeft, VirtualKey::Left},
    {Command::StartOfPageUp, VirtualKey::Up},
};

// Where the diagram's rectangle starts when there is nothing in it.
constexpr Rect kEmptyDiagram{0, 0, 100, 100};

}  // namespace

std::vector<KeyBinding> CTavrinView::WindowKeys() const {
    using namespace Command;
    return {
        {Command::SolvePowerFlow, QKeySequence(Qt::Key_F5)},  // not the view's own SolvePowerFlow
        {PvCurves, QKeySequence(Qt::Key_F6)},
        {TransferCapability, QKeySequence(Qt::Key_F7)},
        {SupplementaryMotionSensitivity, QKeySequence(Qt::Key_F8)},
        {BusSensitivityFactors, QKeySequence(Qt::Key_F9)},
        {ShowResultsInTable, QKeySequence(Qt::CTRL | Qt::Key_T)},
        {PreviewResults, QKeySequence(Qt::CTRL | Qt::Key_R)},
        {SnapToGrid, QKeySequence(Qt::CTRL | Qt::Key_End)},
        {SnapToGrid, QKeySequence(Qt::CTRL | Qt::Key_PageDown)},
        {EditDuplicate, QKeySequence(Qt::CTRL | Qt::Key_D)},
        {EditCut, QKeySequence(Qt::CTRL | Qt::Key_X)},
        {EditCut, QKeySequence(Qt::SHIFT | Qt::Key_Delete)},
        {EditCopy, QKeySequence(Qt::CTRL | Qt::Key_C)},
        {EditCopy, QKeySequence(Qt::CTRL | Qt::Key_Insert)},
        {EditPaste, QKeySequence(Qt::CTRL | Qt::Key_V)},
        {EditPaste, QKeySequence(Qt::SHIFT | Qt::Key_Insert)},
        {EditSendToClipboardAsEmf, QKeySequence(Qt::CTRL | Qt::Key_B)},
        {EditGlue, QKeySequence(Qt::CTRL | Qt::Key_G)},
        {EditRefresh, QKeySequence(Qt::ALT | Qt::Key_R)},
        {EndOfPageDown, QKeySequence(Qt::CTRL | Qt::Key_Down)},
        {EndOfPageDown, QKeySequence(Qt::ALT | Qt::Key_End)},
        {EndOfPageRight, QKeySequence(Qt::CTRL | Qt::Key_Right)},
        {StartOfPageLeft, QKeySequence(Qt::CTRL | Qt::Key_Left)},
        {StartOfPageUp, QKeySequence(Qt::CTRL | Qt::Key_Up)},
        {StartOfPageUp, QKeySequence(Qt::ALT | Qt::Key_Home)},
    };
}

IModel* CTavrinView::Model() const { return GetDocument() != nullptr ? GetDocument()->GetModel() : nullptr; }

bool CTavrinView::HasEditableSelection() const {
    IModel* model = Model();
    return editMode_ && model != nullptr && model->HasSelection();
}

void CTavrinView::RegisterMenuCommands() {
    auto selectionRule = [this](CmdUI& ui) { ui.Enable(HasEditableSelection()); };
    OnCommand(Command::EditCut, [this] { OnEditEvent(EditEvent::Cut, {}); }, selectionRule);
    OnCommand(Command::EditCopy, [this] { OnEditEvent(EditEvent::Copy, {}); }, selectionRule);
    OnCommand(Command::EditDuplicate, [this] {
        if (HasEditableSelection()) SendEvent(EditEvent::Duplicate, {});
    }, selectionRule);
    OnCommand(Command::EditPaste, [this] { OnPaste(); }, [this](CmdUI& ui) {
        ui.Enable(editMode_ && GetDocument() != nullptr && GetDocument()->Application().HasClipboardElements());
    });
    OnCommand(Command::EditGlue, [this] { OnGlue(); }, selectionRule);
    OnCommand(Command::EditRefresh, [this] { OnRefresh(); });
    for (const auto& [command, key] : kPageEndCommands) {
        OnCommand(command, [this, key] {
            if (HasEditableSelection() && Tool() == EditTool::Selection)
                SendEvent(EditEvent::Key, EditEventArgs::KeyReleased(key, 1));
        });
    }

    OnCommand(Command::EditMode, [this] { OnEditMode(); }, [this](CmdUI& ui) { ui.SetCheck(editMode_); });
    OnCommand(Command::SnapToGrid, [this] { OnSnapToGrid(); }, [this](CmdUI& ui) { ui.SetCheck(snapToGrid_); });
    OnCommand(Command::ToolsPalette, [this] { OnToolsPalette(); }, [this](CmdUI& ui) {
        CMainFrame* frame = MainFrame();
        ui.SetCheck(frame != nullptr && frame->ToolsBar().isVisible());
        ui.Enable(!IsRemote());
    });
    for (const ColorMapCommand& map : kColorMapCommands) {
        const int mode = map.mode;
        OnCommand(map.command, [this, mode] { OnColorMap(mode); }, [this, mode](CmdUI& ui) { UpdateColorMap(ui, mode); });
    }
    OnCommand(Command::BackgroundColor, [this] { OnBackgroundColor(); });
    OnCommand(Command::ElementVisualProperties, [this] { OnElementVisualProperties(); });
    OnCommand(Command::Layers, [this] { OnLayers(); });
    OnCommand(Command::DuplicationSettings, [this] { OnDuplicationSettings(); });
    OnCommand(Command::GenerateGraphFromFile, [this] {
        if (CTavrinDoc* document = GetDocument()) document->GenerateGraphFromFile(this);
    });

    // The standard bar's two solve buttons run the menu's Solve.
    for (int command : {Command::SolveProblem, Command::SolveLoadFlow}) {
        OnCommand(command, [this] {
            if (CMainFrame* frame = MainFrame()) frame->Commands().Execute(Command::SolvePowerFlow);
        });
    }
    // New and Open stay the application's; only their state is the view's.
    for (int command : {Command::FileNew, Command::FileOpen}) {
        OnCommand(command, [this, command] {
            if (CTavrinDoc* document = GetDocument()) document->Application().Execute(command);
        }, [this](CmdUI& ui) { ui.Enable(!IsRemote()); });
    }
}

CMainFrame* CTavrinView::MainFrame() const {
    return GetDocument() != nullptr ? GetDocument()->Application().MainFrame() : nullptr;
}

void CTavrinView::OnEditEvent(int event, const EditEventArgs& args) {
    if (editMode_) SendEvent(event, args);
}

void CTavrinView::OnPaste() {
    // At the middle of the window.
    const QSize client = area_->viewport()->size();
    const Point scroll = GetScrollPosition();
    OnEditEvent(EditEvent::Paste,
                EditEventArgs::Mouse(0, {scroll.x + client.width() / 2, scroll.y + client.height() / 2}));
}

void CTavrinView::OnGlue() {
    IModel* model = Model();
    if (!HasEditableSelection()) return;
    // Connections are the document's data: it must be saved with them.
    if (model->GlueSelection()) GetDocument()->SetModifiedFlag();
}

void CTavrinView::OnRefresh() {
    IModel* model = Model();
    if (model == nullptr) return;
    Rect bounds = kEmptyDiagram;
    model->GetBoundingRect(bounds);
    const Size size{bounds.right, bounds.bottom};
    SetScrollSizes(size);
    model->SetDiagramSize(size);
    InvalidateAll();
}

void CTavrinView::OnEditMode() {
    IModel* model = Model();
    if (editMode_) {
        GetDocument()->SetTool(EditTool::Selection);
        toolCommand_ = Command::ToolSelection;
        UseCursor(ToolCursor::Selection);
    }
    SetEditMode(!editMode_);
    if (model != nullptr) model->ClearSelection();
}

void CTavrinView::OnSnapToGrid() {
    snapToGrid_ = !snapToGrid_;
    // The model snaps where a drag starts; with the view's points unsnapped
    // that start alone would make the element jump.
    if (IModel* model = Model()) model->SetSnapToGrid(snapToGrid_, gridStep_);
}

void CTavrinView::OnToolsPalette() {
    if (CMainFrame* frame = MainFrame()) frame->ToolsBar().setVisible(!frame->ToolsBar().isVisible());
}

void CTavrinView::OnColorMap(int mode) {
    IModel* model = Model();
    if (CMainFrame* frame = MainFrame()) frame->Legend().SetMapType(mode);
    if (model == nullptr || model->GetColorMapMode() == mode) return;
    model->SetColorMapMode(mode);
    InvalidateAll();
}

void CTavrinView::UpdateColorMap(CmdUI& ui, int mode) {
    IModel* model = Model();
    ui.SetCheck(model != nullptr && model->GetColorMapMode() == mode);
    // The legend follows the active window.
    if (ui.checked) {
        if (CMainFrame* frame = MainFrame()) frame->Legend().SetMapType(mode);
    }
}

void CTavrinView::OnBackgroundColor() {
    IModel* model = Model();
    if (model == nullptr || dialogs_ == nullptr) return;
    const std::optional<BackgroundColorChoice> choice = dialogs_->ChooseBackgroundColor(model->GetBackgroundColor());
    if (!choice) return;
    model->SetBackgroundColor(choice->color);
    if (choice->setAsDefault) GetDocument()->Application().GetProfile().WriteProfileBackgroundColor(choice->color);
    GetDocument()->SetModifiedFlag();
    InvalidateAll();
}

void CTavrinView::OnElementVisualProperties() {
    IModel* model = Model();
    if (model == nullptr || dialogs_ == nullptr) return;
    std::array<FontSetting, 1> fonts;
    fonts[0].font = model->GetDefaultFont();
    fonts[0].color = model->GetFontColor();
    LineFillFontRequest request;
    request.fonts = fonts;
    request.labelNames = LabelNames(LabelFamily::Defaults);
    request.lineColor = model->GetLineColor();
    request.fillColor = model->GetBackgroundColor();
    request.lineWidth = model->GetLineWidth();
    // The defaults are for new elements: restyling the existing ones is
    // not offered here.
    request.allowApplyToAll = false;
    const std::optional<LineFillFontChoice> choice = dialogs_->EditLineFillFont(request);
    if (!choice) return;
    model->SetFontColor(fonts[0].color);
    model->SetLineColor(choice->lineColor);
    model->SetDefaultFont(fonts[0].font);
    model->SetLineWidth(choice->lineWidth);
    // The defaults are kept with the document as well.
    GetDocument()->SetModifiedFlag();
    Profile& profile = GetDocument()->Application().GetProfile();
    profile.WriteProfileColors(choice->lineColor, fonts[0].color);
    profile.WriteProfileFont(fonts[0].font);
    profile.WriteProfileLineWidth(choice->lineWidth);
}

void CTavrinView::OnLayers() {
    IModel* model = Model();
    if (model == nullptr || dialogs_ == nullptr) return;
    const bool changed = dialogs_->EditLayers(model->GetBackgroundPictures(), [this] {
        InvalidateAll();
        Update();
    });
    if (changed) GetDocument()->SetModifiedFlag();
}

void CTavrinView::OnDuplicationSettings() {
    IModel* model = Model();
    if (model == nullptr || dialogs_ == nullptr) return;
    DuplicationSteps steps;
    model->GetDuplicationSteps(steps.horizontal, steps.vertical, steps.longMove);
    if (const std::optional<DuplicationSteps> chosen = dialogs_->EditDuplicationSteps(steps))
        model->SetDuplicationSteps(chosen->horizontal, chosen->vertical, chosen->longMove);
}
