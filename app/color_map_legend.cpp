#include "color_map_legend.h"

#include "color_list_box.h"
#include "color_map.h"
#include "profile.h"

namespace {

constexpr int kItemHeight = 14;  // pixels, before the list's own padding
constexpr int kSwatchMargin = 2;
constexpr int kSwatchRightEdge = 50;
constexpr int kSwatchGap = 3;

struct BandedMode {
    int mode;
    const char* windowText;
    const char* bandText;
    ColorMap& (*map)(CColorMapLegend::Maps&);
};

const BandedMode kBandedModes[] = {
    {1, "Nominal Voltage Color Map", " < nominal volatage Vn [kV] < ",
     [](CColorMapLegend::Maps& maps) -> ColorMap& { return maps.nominalVoltage; }},
    {2, "Loading Profile Color Map", " < element loading [%] < ",
     [](CColorMapLegend::Maps& maps) -> ColorMap& { return maps.loading; }},
    {3, "Voltage Profile Color Map", " < voltage profile [p.u.] < ",
     [](CColorMapLegend::Maps& maps) -> ColorMap& { return maps.busVoltage; }},
};

ColorListItem Row(ColorRef color) {
    ColorListItem item;
    item.color = color;
    item.textColor = kSystemColor;
    item.format2 = TextFormat::VerticalCenter;
    item.enabled = true;
    return item;
}

}  // namespace

CColorMapLegend::CColorMapLegend(PromptService& prompts, Profile* profile, Maps maps, QWidget* parent)
    : CDialogResizer(prompts, profile, parent), profile_(profile), maps_(maps), list_(new ColorListBox(this)) {
    setWindowTitle("Color Map Legend");
    setModal(false);
    resize(300, 200);
    list_->setObjectName(QString::number(kListId));
    list_->setGeometry(rect());
}

void CColorMapLegend::OnInitDialog() {
    CDialogResizer::OnInitDialog();
    list_->SetFixedItemHeight(kItemHeight);
    list_->SetSwatchLayout(kSwatchMargin, kSwatchMargin, kSwatchMargin, kSwatchRightEdge);
    list_->SetSwatchGap(kSwatchGap);
}

void CColorMapLegend::OnInitResizer() {
    AddControl(Anchor::Stretch, true, list_);
    CDialogResizer::OnInitResizer();
}

void CColorMapLegend::SetMapType(int mode) {
    if (mode == mode_) return;
    list_->ResetContent();
    mode_ = mode;
    for (const BandedMode& banded : kBandedModes) {
        if (banded.mode != mode) continue;
        setWindowTitle(banded.windowText);
        ShowBands(banded.map(maps_), banded.bandText);
        return;
    }
    setWindowTitle("User Color Map");
    ShowDefaultColors();
}

// Each threshold closes the band that the one before it opened; the first
// band starts at 0. Thresholds are shown as the map keeps them.
void CColorMapLegend::ShowBands(ColorMap& map, const char* bandText) {
    double lower = 0.0;
    int index = 0;
    for (map.MoveFirst(); !map.IsAtEnd(); map.MoveNext()) {
        const double limit = map.GetCurrentLimit();
        list_->InsertItem(QString::asprintf("%.2f%s%.2f", lower, bandText, limit), index++,
                          Row(map.GetCurrentColor()));
        lower = limit;
    }
}

void CColorMapLegend::ShowDefaultColors() {
    const Profile::Colors colors = profile_ != nullptr ? profile_->GetProfileColors() : Profile::Colors{};
    list_->InsertItem("Default line color", 0, Row(colors.line));
    list_->InsertItem("Default font color", 1, Row(colors.font));
    list_->InsertItem("Default back color", 2, Row(colors.background));
}
