#pragma once

#include <optional>

#include <QDialog>

#include "color.h"
#include "graph_curve.h"

class CColourCombo;
class CGraphWnd;
class CPenPropCombo;
class PromptService;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class UpDown;

// The graph's colours and lines: the user picks a curve (1008) and changes
// its colour (1009), line type (1010), width (1013 with the arrows 1012)
// and the circles on its points (1025), and the background (1011). Edits
// go into working copies of the curves; Apply (3) or OK (1) hands them to
// the plot window, Cancel (2) drops what was not applied.
class CDlgGraphProperties final : public QDialog {
    Q_OBJECT

public:
    // Widths the user sees; the pen is one less (0 draws one pixel).
    static constexpr int kMinWidth = 1;
    static constexpr int kMaxWidth = 5;

    // The plot window and the prompt service are borrowed for the dialog's
    // life.
    CDlgGraphProperties(CGraphWnd& plot, PromptService& prompts, QWidget* parent = nullptr);

    void accept() override;

private:
    void BuildControls();
    // Fills the lists, shows the first curve and the background, and
    // disables what the graph type or an empty graph leaves nothing to edit.
    void OnInitDialog();
    // The selected curve's working copy while editing is on; null when
    // editing is off or no curve is selected.
    GraphCurve* EditedCurve();
    // Shows the curve's values in the line controls without counting it as
    // an edit.
    void ShowCurve(int index);
    void SetModified();

    void OnCurveChanged(int index);
    void OnColourChanged();
    void OnStyleChanged();
    void OnWidthChanged();
    void OnCirclesClicked();
    void OnBackgroundChanged();
    // The width as typed, when it is an integer within range; otherwise
    // the user is told and the field gets the focus.
    std::optional<int> ReadWidth();
    void RefuseWidth(const QString& message);
    // Checks the controls and hands the edits to the plot window; false,
    // with nothing handed over, when a field is refused.
    bool OnApply();

    CGraphWnd& plot_;
    PromptService& prompts_;
    QComboBox* curves_;
    CColourCombo* colour_;
    CPenPropCombo* style_;
    QLineEdit* width_;
    UpDown* widthArrows_;
    QCheckBox* circles_;
    CColourCombo* background_;
    QPushButton* apply_;

    CurveArray working_;
    ColorRef backgroundColour_ = kWhite;
    bool editing_ = false;
    bool modified_ = false;
};
