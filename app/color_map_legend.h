#pragma once

#include "dialog_resizer.h"

class ColorListBox;
class ColorMap;

// The window that explains the diagram's colours: the value bands of the
// active colour map with their colours, or, in the normal mode, the three
// default colours of new diagrams. The network views' colour-map commands
// switch it, so it follows the active network window.
class CColorMapLegend : public CDialogResizer {
    Q_OBJECT

public:
    static constexpr int kDialogId = 260;
    static constexpr int kListId = 1054;

    // The application's maps, borrowed: nominal voltage (kV, mode 1),
    // loading (percent, mode 2) and bus voltage (p.u., mode 3).
    struct Maps {
        ColorMap& nominalVoltage;
        ColorMap& loading;
        ColorMap& busVoltage;
    };

    // The profile gives the default colours; without one they are black,
    // black and white.
    CColorMapLegend(PromptService& prompts, Profile* profile, Maps maps, QWidget* parent = nullptr);

    // Fills the list for the mode: 1 to 3 the bands of that map, any other
    // mode the default colours. The mode already shown changes nothing.
    void SetMapType(int mode);
    int MapType() const { return mode_; }

    ColorListBox& List() const { return *list_; }

protected:
    void DoDataExchange(DataExchange&) override {}
    void OnInitDialog() override;
    void OnInitResizer() override;

private:
    void ShowBands(ColorMap& map, const char* bandText);
    void ShowDefaultColors();

    Profile* profile_;
    Maps maps_;
    // The list starts empty: the normal mode's rows show only after another
    // mode was shown.
    int mode_ = 0;
    ColorListBox* list_;
};
