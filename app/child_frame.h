#pragma once

#include <QMdiSubWindow>

class CView;

// The frame of every document window, of both kinds of document. Closing
// the last frame of a modified document first asks whether to save it.
class CChildFrame : public QMdiSubWindow {
public:
    // Takes the view as its widget; the frame deletes itself when closed.
    explicit CChildFrame(CView& view);
    // The view goes first, while the frame is still whole.
    ~CChildFrame() override;

    CView& View() const { return view_; }
    // Shows `standIn` (a print preview) where the view was, and takes it
    // over; the view waits hidden, as it was, until ShowViewAgain.
    void ShowInPlaceOfView(QWidget* standIn);
    // Puts the view back and lets the stand-in go once its own event is
    // over.
    void ShowViewAgain();
    QWidget* StandIn() const { return standIn_; }
    // The document's title, ":n" when it has several views, and the
    // modified mark.
    void UpdateTitle();
    // Closes without asking: the document has already decided.
    void CloseWithoutAsking();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CView& view_;
    QWidget* standIn_ = nullptr;
    bool closingWithoutAsking_ = false;
};
