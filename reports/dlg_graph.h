#pragma once

#include <string>

#include <QDialog>

#include "graph_curve.h"
#include "reference_manager.h"

class CGraphWnd;
class PromptService;
class QLineEdit;

// The graph window: one plot window with the range edits beside it, Set
// Range, Auto Scale, Export, Copy, Titles and Colors. It is entered in its
// document's reference manager while it lives. Escape and the close box
// cancel it, which empties its entry, closes it and deletes it.
class CDlgGraph final : public QDialog, public IDlgGraph {
    Q_OBJECT

public:
    // The plot window posts this after each automatic range it works out.
    static constexpr unsigned kGraphRangeMessage = 0x465;
    // Colours of the curves in the order they are added, 0x00BBGGRR.
    static constexpr ColorRef kCurveColors[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF, 0xFFFF00,
                                                0x000000, 0xFFFFFF, 0x008080, 0x800080, 0x808000, 0x808080};
    static constexpr int kMaxYVariables = 12;
    // Curves made from a file's header take the colours after the first.
    static constexpr int kMaxHeaderCurves = 6;

    // Enters itself in the manager when one is given; Registered() tells
    // whether that worked.
    CDlgGraph(CReferenceManager* manager, QWidget* parent, PromptService& prompts);
    ~CDlgGraph() override;

    bool Registered() const { return !registrationFailed_; }
    CReferenceManager* Manager() const { return manager_; }
    int Entry() const { return entry_; }

    // IDlgGraph
    int Release() override;
    void AddRef() override;
    int DoModal() override;
    bool Create() override;
    void SetDataFile(const char* path, bool loadNow, int xColumn) override;
    void SetXAxisTitle(const char* title) override;
    void SetYAxisTitle(const char* title) override;
    void SetGraphTitle(const char* title) override;
    void SetGraphType(int type) override;
    void SetXVariable(const char* name) override;
    void AddYVariable(const char* name) override;
    void SetCaption(const char* caption) override;
    void SetCascadeOffset(int pixels) override;

    // A complete curve, as the graph designer builds it.
    void AddCurve(const GraphCurve& curve);
    CGraphWnd& Plot() { return *plot_; }

    // Empties the entry, closes the window and deletes it.
    void OnCancel();
    void reject() override;

    void OnSetRange();
    void OnAutoScale();
    void OnExport();
    void OnCopy();
    void OnTitles();
    void OnColors();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    // Once, before the window is first shown: icon, caption, the disabled
    // X edits of category bars, the cascade offset, and the data read.
    void OnInitDialog();
    // Shows the plot's range in the four edits.
    void OnGraphRange();
    // Empties the manager's entry while it still holds this window and
    // forgets a manager that no longer holds it.
    void LeaveManager();
    QLineEdit& RangeEdit(int id) const;

    CReferenceManager* manager_ = nullptr;
    int entry_ = -1;
    PromptService& prompts_;
    int references_ = 1;
    std::string xVariable_;
    std::string caption_;
    int yVariables_ = 0;
    int cascadeOffset_ = 0;
    float xmin_ = 0.0f;
    float xmax_ = 0.0f;
    float ymin_ = 0.0f;
    float ymax_ = 0.0f;
    CGraphWnd* plot_ = nullptr;  // a child: goes with the dialog
    std::string dataFile_;
    bool initialised_ = false;
    bool registrationFailed_ = false;
};
