#pragma once

#include <functional>
#include <optional>
#include <string>

#include "document_base.h"
#include "model_interface.h"
#include "network_dialogs.h"
#include "network_edit_event.h"
#include "reference_manager.h"

class CTavrinApp;
class DrawingContext;
class IDlgGraph;
class IView;
class PromptService;
class QWidget;

// The network document (".pf"). It owns one network model, made when the
// document is and released with it, and lends the model what the
// application shares: prompts, text measuring, the element clipboard, the
// colour maps and the label-font counts. The graph windows opened for it
// close when it goes.
class CTavrinDoc : public CDocument {
public:
    // The document string of the network template (resource 129).
    static constexpr const char* kDocString =
        "\nUntitled\nPF Document\nPF Files (*.pf)\n.pf\nPF.Document.4\nPF Document";
    static constexpr int kResourceId = 129;

    explicit CTavrinDoc(CTavrinApp& application);

    // Null only when the model could not be made.
    IModel* GetModel() const { return model_.get(); }

    CTavrinApp& Application() const { return application_; }

    // True after New until the document is first saved; a loaded one is
    // not new.
    bool OnNewDocument() override;
    bool IsNew() const { return new_; }

    // The drawing tool as an element type code (0 selection, 29 node
    // mover). A change clears the model's selection, except from the
    // selection tool to the node mover, which works on the selection.
    void SetTool(int tool);
    int GetTool() const { return tool_; }

    // The document holds the copy of the remote solver's network.
    void SetRemote(bool remote);
    bool IsRemote() const;

    // The view the model draws on and sends its requests to; null when the
    // last view goes.
    void SetView(IView* view);
    // The diagram in diagram units; only what meets `area`, when given.
    void Draw(DrawingContext& dc, const Rect* area);
    // Hands an edit event with the current tool to the model; marks the
    // document modified when the model changed it.
    bool HandleEditEvent(int event, const EditEventArgs& args, IView* view);
    // Tests send the events to a recorder instead of the model; null sends
    // them to the model again.
    void SetEditEventTarget(IEditEventTarget* target) { editTarget_ = target; }

    // One line of result text from the remote solver server.
    void ReadResultLine(const std::string& line);

    // The graph windows open for this document.
    CReferenceManager& GraphReferences() { return graphReferences_; }
    // Makes the graph windows: the report library's createGraph unless a
    // test set another.
    using GraphMaker = std::function<IDlgGraph*(CReferenceManager*, QWidget*, PromptService&)>;
    void SetGraphMaker(GraphMaker maker) { graphMaker_ = std::move(maker); }

    // The graph launchers: each opens modeless graph windows over `parent`
    // (the view) on a data file a study wrote, reading the file before it
    // returns, so that the study may delete it then. Paths and titles are
    // single-byte (Windows-1250); a null path is a graph not made. When no
    // window can be made the user is told and no further graph is made.
    //
    // The PV curves of a continuation table: the variables are chosen on
    // the file first; without a choice no graph is shown.
    using PVCurveChooser = std::function<std::optional<PvCurveVariables>(const char* path)>;
    void ShowPVCurves(QWidget* parent, const char* path, const PVCurveChooser& choose);
    enum class SensitivityKind { Angle, Voltage };
    // Without a Y-axis title the kind's own two titles are used.
    void ShowSensitivityGraph(QWidget* parent, const char* path, SensitivityKind kind, int cascadeOffset,
                              const char* yAxisTitle = nullptr, const char* graphTitle = nullptr);
    // One graph for each file given, in this order, each 30 pixels further
    // down and right than the one made before it.
    void ShowTransferCapabilityGraphs(QWidget* parent, const char* voltagePath, const char* anglePath,
                                      const char* reactivePath, const char* loadingPath);
    void ShowLFSensitivityGraph(QWidget* parent, const char* path, const char* yAxisTitle, const char* graphTitle);
    // Asks for a data file and runs the graph designer on it; the graphs
    // designed open over `parent`.
    void GenerateGraphFromFile(QWidget* parent);

protected:
    void Serialize(Archive& archive) override;

private:
    // A graph of the sensitivity kind: bars over the named rows of the
    // file's "x" and "Sensitivity" columns.
    struct CategoryGraph {
        const char* path;
        const char* captionSuffix;
        std::string graphTitle;
        std::string yAxisTitle;
        int cascadeOffset;
    };
    // False when the window could not be made (the user was told).
    bool ShowCategoryGraph(QWidget* parent, const CategoryGraph& graph);
    // A new graph window, or null after telling the user it cannot be made.
    IDlgGraph* MakeGraph(QWidget* parent);

    // First: it goes last, after the model.
    CReferenceManager graphReferences_;
    CTavrinApp& application_;
    ModelReference model_;
    IEditEventTarget* editTarget_ = nullptr;
    GraphMaker graphMaker_;
    int tool_ = 0;
    bool new_ = false;
};
