#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include <QDialog>
#include <QString>

#include "color.h"
#include "graph_curve.h"
#include "graph_designer_interface.h"
#include "grid_cell_id.h"
#include "grid_notify.h"

class CColourPicker;
class CGridCtrl;
class QCheckBox;
class QComboBox;
class QListWidget;
class QPushButton;

// The graph designer: the column names of a data file in a list, a grid of
// one row per curve (X and Y column, the axis titles, the graph title, the
// colour), and on OK graph windows for the complete rows, all curves in one
// graph or one graph per row. Names keep the file's bytes (Windows-1250);
// the list and the grid show them as text. The grid tells the designer of
// its clicks as its owner.
class CDlgGraphDesigner final : public QDialog, public IDlgGraphDesigner, public IGridNotifySink {
    Q_OBJECT

public:
    // The grid's columns; row 0 holds their headings, column 0 the row
    // numbers.
    enum Column { kNumber = 0, kXColumn, kYColumn, kXTitle, kYTitle, kTitle, kColour, kColumnCount };
    // The combo's graph types, in the plot's numbering.
    static constexpr const char* kGraphTypes[] = {"Normal Graph", "Bar Graph", "Line Graph", "Normal Graph + Points",
                                                  "Line Graph + Points"};
    static constexpr ColorRef kDefaultColour = 0xFF0000;  // blue
    static constexpr ColorRef kCellBackground = 0xE0FFFF;  // light yellow

    CDlgGraphDesigner(CReferenceManager* manager, QWidget* parent, PromptService& prompts);

    // IDlgGraphDesigner
    void Release() override;
    void AddRef() override;
    void SetDataFile(const char* path) override;
    int DoModal() override;

    // Before the designer first shows: caption, grid, the file's names.
    // False, after telling the user, when the grid could not be sized.
    bool OnInitDialog();

    // The buttons.
    void AddRow();
    void OnUseAsX();
    void OnUseAsY();
    void OnRefresh();
    void OnInsert();
    void OnDelete();
    void OnOneGraph();
    // Opens the graphs of the complete rows and closes the designer.
    void OnOK();
    void accept() override { OnOK(); }

    // The grid's clicks.
    int notify(int code, int row, int column) override;

    CGridCtrl& Grid() const { return *grid_; }
    // The curves of the complete rows, as the last OK built them.
    const std::vector<GraphCurve>& Curves() const { return curves_; }

private:
    void BuildControls();
    // The controls' values into the members, and back.
    void ReadControls();
    void ShowValues();
    // The names of line 1 (or 2 after a parameter line) into the list.
    void ListVariables();
    bool HasVariables() const;
    // The selected variable's name and column; false when none is selected.
    bool SelectedVariable(QString& name, int& column) const;

    // The selected variable goes into the focus row: its name into the name
    // column and the title column, its column index into the name cell's
    // data. Nothing without a focus cell or a selected variable.
    struct UsedVariable {
        CCellID focus;
        QString name;
        int column;
    };
    std::optional<UsedVariable> UseVariable(int nameColumn, int titleColumn);
    // A new row's read-only columns and colours.
    void SetUpRow(int row);
    void PaintRowColour(int row);
    // Every row's X column becomes the current X.
    void SetAllX();
    // Rows read 01, 02, ... again.
    void Renumber();
    // Use as X, Use as Y, Refresh, Insert and Delete.
    void EnableRowButtons(bool enable);

    // The steps of OK.
    std::vector<GraphCurve> CurvesOfRows() const;
    // A graph window of the curves; false, after telling the user, when
    // none could be made.
    bool OpenGraph(std::span<const GraphCurve> curves, const std::string& graphTitle,
                   const std::string& xAxisTitle, const std::string& yAxisTitle);

    QPushButton& Button(int id) const;

    CReferenceManager* manager_;
    QWidget* parent_;
    PromptService& prompts_;
    std::string dataFile_;
    QString xName_;  // as the list shows it
    int xColumn_ = 0;
    ColorRef colour_ = kDefaultColour;
    std::vector<GraphCurve> curves_;
    bool oneGraph_ = true;
    bool vertical_ = true;
    bool horizontal_ = true;
    int graphType_ = 0;

    CGridCtrl* grid_;
    QListWidget* variables_;
    CColourPicker* picker_;
    QComboBox* types_;
    QCheckBox* horizontalCheck_;
    QCheckBox* verticalCheck_;
    QCheckBox* oneGraphCheck_;
};
