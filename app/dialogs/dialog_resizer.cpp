#include "dialog_resizer.h"

#include <QResizeEvent>

CDialogResizer::CDialogResizer(PromptService& prompts, Profile* profile, QWidget* parent)
    : DialogBase(prompts, parent), placement_(profile) {}

CDialogResizer::~CDialogResizer() { SavePlacement(); }

void CDialogResizer::AddControl(Anchor anchor, bool resize, QWidget* control) {
    controls_.push_back({anchor, resize, control->size() - size(), control});
}

void CDialogResizer::ShowWindow(bool show) {
    setVisible(show);
    visible_ = isVisible() ? 1 : 0;
}

void CDialogResizer::done(int result) {
    DialogBase::done(result);
    visible_ = 0;
    SavePlacement();
}

void CDialogResizer::KeepPlacementForExit() {
    SavePlacement();
    savePlacement_ = false;
}

void CDialogResizer::OnInitDialog() {
    DialogBase::OnInitDialog();
    const QString caption = windowTitle();
    placement_.Attach(this, caption.isEmpty() ? WindowPlacement::kDefaultSection : caption, &visible_);
    OnInitResizer();
}

void CDialogResizer::OnInitResizer() {
    resizingActive_ = true;
    if (!savePlacement_) return;
    placement_.Restore();
    // The stored placement may have hidden the dialog; the next save must
    // say so, or a hidden window would come back shown.
    visible_ = isVisible() ? 1 : 0;
}

void CDialogResizer::resizeEvent(QResizeEvent* event) {
    DialogBase::resizeEvent(event);
    if (!resizingActive_) return;
    for (const Entry& entry : controls_) {
        if (!entry.resize) continue;
        const QSize wanted = size() + entry.difference;
        QRect place = entry.control->geometry();
        switch (entry.anchor) {
            case Anchor::Stretch:
                place.setSize(wanted);
                break;
            case Anchor::KeepBottomRight:
                place.setLeft(place.right() + 1 - wanted.width());
                place.setTop(place.bottom() + 1 - wanted.height());
                break;
        }
        entry.control->setGeometry(place);
    }
}

void CDialogResizer::SavePlacement() {
    if (savePlacement_) placement_.Save();
}
