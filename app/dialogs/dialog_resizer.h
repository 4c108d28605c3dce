#pragma once

#include <vector>

#include <QSize>

#include "dialog_base.h"
#include "window_placement.h"

class Profile;

// The base of the program's resizable modeless dialogs (the message
// window, the colour-map legend): controls registered with AddControl
// follow the dialog's size, and the dialog comes back where it was, under
// its caption in the user's settings.
class CDialogResizer : public DialogBase {
    Q_OBJECT

public:
    enum class Anchor {
        Stretch = 4,          // left and top stay; grows with the dialog
        KeepBottomRight = 6,  // right and bottom edges stay; the size follows the dialog
    };

    // Without a profile the placement is neither restored nor saved.
    CDialogResizer(PromptService& prompts, Profile* profile, QWidget* parent = nullptr);
    // Saves the placement while the window still has its geometry.
    ~CDialogResizer() override;

    // Keeps the control's size less the dialog's, as they are now; a
    // control registered without `resize` is left alone.
    void AddControl(Anchor anchor, bool resize, QWidget* control);

    // Shows or hides the dialog and remembers which, for the placement.
    void ShowWindow(bool show);
    bool VisibleFlag() const { return visible_ != 0; }

    void SetSavePlacement(bool save) { savePlacement_ = save; }
    // Saves the placement as the user left it and keeps it from now on: the
    // program's exit closes and hides its windows, which the user did not
    // choose.
    void KeepPlacementForExit();

    // Closing hides the dialog and saves its placement.
    void done(int result) override;

protected:
    // Hands the caption to the placement store, then the set-up hook.
    void OnInitDialog() override;
    // The set-up hook: subclasses register their controls here and then
    // call this one, which starts the resizing and restores the placement.
    virtual void OnInitResizer();

    void resizeEvent(QResizeEvent* event) override;

private:
    struct Entry {
        Anchor anchor;
        bool resize;
        QSize difference;  // control less dialog, pixels
        QWidget* control;
    };

    void SavePlacement();

    int visible_ = 1;
    bool savePlacement_ = true;
    bool resizingActive_ = false;
    std::vector<Entry> controls_;
    WindowPlacement placement_;
};
