// The network view's tools, cursors and context menu.
#include <algorithm>

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include "diagram_area.h"
#include "network_tools.h"
#include "prompt_service.h"
#include "tavrin_app.h"
#include "tavrin_doc.h"
#include "tavrin_view.h"

// At global scope: the images live in the program's static library, and
// nothing but this call pulls them in.
static void RegisterCursorImages() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(cursors);
        return true;
    }();
    (void)registered;
}

namespace {

constexpr const char* kEditModeNeeded =
    "Switch to Edit Mode to change the one-line diagram.\nUse menu opption Format->Edit Mode or corresponding "
    "toolbar button!";
constexpr const char* kNodeMoverNeedsElement =
    "This tool requires an element selected with free nodes!\nPlease select an element and then use this tool!";

struct ContextItem {
    int command;
    const char* text;
    int event;
};
// The element's context menu; a remote copy, or a diagram outside edit
// mode, offers only what does not change the drawing.
constexpr ContextItem kContextItems[] = {
    {CTavrinView::kSwitchOnOff, "ON/OFF", EditEvent::Switch},
    {CTavrinView::kDisconnect, "Disconnect", EditEvent::Disconnect},
    {CTavrinView::kDeleteElement, "&Delete", EditEvent::DeleteCurrent},
    {CTavrinView::kElementProperties, "&Properties ...", EditEvent::Properties},
    {CTavrinView::kFillAndFont, "Font, Line and Color Fill ...", EditEvent::FillAndFont},
};
constexpr int kRestrictedItems[] = {CTavrinView::kSwitchOnOff, CTavrinView::kElementProperties};

// The tool cursors point with the centre of their cross; the selection
// arrow with its tip.
QCursor LoadCursor(int id) {
    RegisterCursorImages();
    QSvgRenderer image(QStringLiteral(":/cursors/cursor_%1.svg").arg(id));
    if (!image.isValid()) return QCursor(Qt::CrossCursor);
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    image.render(&painter);
    painter.end();
    return id == ToolCursor::Selection ? QCursor(pixmap, 1, 1) : QCursor(pixmap, 8, 8);
}

}  // namespace

void CTavrinView::RegisterCommands() {
    for (const NetworkTool& tool : NetworkTools()) {
        const int command = tool.command;
        OnCommand(
            command, [this, command] { command == Command::ToolNodeMover ? OnNodeMover() : OnTool(command); },
            [this, command](CmdUI& ui) {
                ui.SetCheck(toolCommand_ == command);
                ui.Enable(!IsRemote());
            });
    }
    for (const ContextItem& item : kContextItems) {
        const int event = item.event;
        OnCommand(item.command, [this, event] { SendEvent(event, {}); });
    }
    RegisterMenuCommands();
    RegisterOutputCommands();
    RegisterStudyCommands();
}

void CTavrinView::OnTool(int command) {
    CTavrinDoc* document = GetDocument();
    const NetworkTool* tool = FindNetworkTool(command);
    if (document == nullptr || tool == nullptr) return;
    if (!editMode_) {
        document->Application().Prompts().Ask(kEditModeNeeded, {}, PromptIcon::Information, PromptButtons::Ok);
        return;
    }
    document->SetTool(tool->code);
    toolCommand_ = command;
    IModel* model = document->GetModel();
    UseCursor(CursorOfTool(*tool, model != nullptr ? model->GetBackgroundColor() : kWhite));
}

void CTavrinView::OnNodeMover() {
    CTavrinDoc* document = GetDocument();
    IModel* model = document != nullptr ? document->GetModel() : nullptr;
    if (model == nullptr) return;
    if (!editMode_) {
        document->Application().Prompts().Ask(kEditModeNeeded, {}, PromptIcon::Information, PromptButtons::Ok);
        return;
    }
    IElement* element = nullptr;
    if (toolCommand_ != Command::ToolNodeMover && model->GetNodeEditElement(element)) {
        document->SetTool(EditTool::MoveNodes);
        toolCommand_ = Command::ToolNodeMover;
        UseCursor(ToolCursor::NodeMover);
        return;
    }
    if (toolCommand_ != Command::ToolNodeMover)
        document->Application().Prompts().Ask(kNodeMoverNeedsElement, "Node mover", PromptIcon::Information,
                                              PromptButtons::Ok);
    document->SetTool(EditTool::Selection);
    toolCommand_ = Command::ToolSelection;
    UseCursor(ToolCursor::Selection);
}

void CTavrinView::UseCursor(int id) {
    cursorId_ = id;
    area_->viewport()->setCursor(LoadCursor(id));
}

void CTavrinView::OpenContextMenu(IElement*, bool restricted) {
    auto* menu = new QMenu(restricted ? QStringLiteral("PropertiesRemote") : QStringLiteral("Properties"), this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (const ContextItem& item : kContextItems) {
        if (restricted && std::find(std::begin(kRestrictedItems), std::end(kRestrictedItems), item.command) ==
                              std::end(kRestrictedItems))
            continue;
        QAction* action = menu->addAction(QString::fromLatin1(item.text));
        action->setData(item.command);
        const int command = item.command;
        QObject::connect(action, &QAction::triggered, this, [this, command] { Execute(command); });
    }
    menu->popup(contextMenuAt_);
}
