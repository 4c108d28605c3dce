#include "graph_plot.h"

#include <algorithm>

namespace {

constexpr int kNormalWeight = 400;
constexpr int kBoldWeight = 700;
constexpr int kUpwards = 900;  // escapement in tenths of a degree

// The tick and exponent fonts: quality 2 (proof), variable pitch, Swiss.
LogFont TickFont(const char* face, int height) {
    LogFont font;
    font.SetFaceName(face);
    font.height = height;
    font.weight = kNormalWeight;
    font.quality = 2;
    font.pitchAndFamily = 18;
    return font;
}

// The title and category fonts: TrueType output precision, embedded clip
// precision, proof quality.
LogFont TitleFont(int height, int weight, int escapement) {
    LogFont font;
    font.SetFaceName("Arial");
    font.height = height;
    font.weight = weight;
    font.escapement = escapement;
    font.outPrecision = 4;
    font.clipPrecision = 32;
    font.quality = 2;
    return font;
}

// Legend rows are as high as this text in the tick font, plus 5.
constexpr const char* kLegendProbe = "proBa jedNog";
constexpr int kLegendRowPadding = 5;
constexpr int kCategoryBandOverlap = 45;

}  // namespace

GraphPlot::GraphPlot(IPrompt& prompt, ITextMeasurer& measurer)
    : prompt_(prompt),
      measurer_(measurer),
      tickFont_(TickFont("Arial", -13)),
      exponentFont_(TickFont("MS Sans Serif", 7)),
      titleFont_(TitleFont(-16, kBoldWeight, 0)),
      xTitleFont_(TitleFont(-14, kBoldWeight, 0)),
      yTitleFont_(TitleFont(-14, kBoldWeight, kUpwards)),
      categoryFont_(TitleFont(-13, kNormalWeight, kUpwards)) {}

void GraphPlot::SetDataFile(const char* path) {
    dataFile_ = path != nullptr ? path : "";
    redraw_ = true;
}

void GraphPlot::AddCurve(const GraphCurve& curve) {
    curves_.push_back(curve);
    redraw_ = true;
}

void GraphPlot::SetGraphTitle(const std::string& title) {
    graphTitle_ = title;
    redraw_ = true;
}

void GraphPlot::SetXAxisTitle(const std::string& title) {
    xAxisTitle_ = title;
    redraw_ = true;
}

void GraphPlot::SetYAxisTitle(const std::string& title) {
    yAxisTitle_ = title;
    redraw_ = true;
}

void GraphPlot::SetGraphType(int type) {
    graphType_ = type;
    redraw_ = true;
}

void GraphPlot::SetRange(float xmin, float xmax, float ymin, float ymax) {
    fixed_ = {xmin, xmax, ymin, ymax};
    automatic_ = false;
    redraw_ = true;
}

void GraphPlot::SetAutoScale(bool automatic) {
    automatic_ = automatic;
    redraw_ = true;
}

void GraphPlot::GetStoredRange(float& xmin, float& xmax, float& ymin, float& ymax) const {
    const GraphRange& range = automatic_ ? automaticRange_ : fixed_;
    xmin = static_cast<float>(range.xmin);
    xmax = static_cast<float>(range.xmax);
    ymin = static_cast<float>(range.ymin);
    ymax = static_cast<float>(range.ymax);
}

void GraphPlot::SetBackgroundColor(ColorRef color) {
    backgroundColor_ = color;
    redraw_ = true;
}

void GraphPlot::SetGridLines(bool horizontal, bool vertical) {
    horizontalGrid_ = horizontal;
    verticalGrid_ = vertical;
    redraw_ = true;
}

void GraphPlot::SetClientSize(Size size) {
    client_ = size;
    redraw_ = true;
}

const std::vector<float>* GraphPlot::Column(int index) const {
    auto found = values_.find(index);
    return found != values_.end() ? &found->second : nullptr;
}

void GraphPlot::PrepareDC(DrawingContext& dc) const {
    dc.SelectFont(tickFont_);
    dc.SetTextAlign(TextAlign::Left | TextAlign::Baseline);
    dc.SetBackgroundMode(BackgroundMode::Transparent);
    dc.SetTextColor(kBlack);
    dc.SelectBrush({BrushStyle::Solid, backgroundColor_, 0});
    dc.SelectPen({PenStyle::Solid, {0, 0}, kBlack});
}

void GraphPlot::Layout(DrawingContext& dc) {
    legendHeight_ = 0;
    legendRowHeight_ = 0;
    legendRows_ = 0;
    if (curves_.size() < 2) {
        if (graphType_ == GraphType::Categories) {
            LogFont previous = dc.SelectFont(categoryFont_);
            int widest = 0;
            for (const std::string& name : categories_) widest = std::max(widest, dc.GetTextExtent(name).cx);
            dc.SelectFont(previous);
            if (widest > kCategoryBandOverlap) widest -= kCategoryBandOverlap;
            legendHeight_ = legendRowHeight_ = widest + 10;
            legendRows_ = 1;
        }
    } else {
        LogFont previous = dc.SelectFont(tickFont_);
        legendRowHeight_ = dc.GetTextExtent(kLegendProbe).cy + kLegendRowPadding;
        dc.SelectFont(previous);
        legendRows_ = static_cast<int>((curves_.size() + kLegendColumns - 1) / kLegendColumns);
        legendHeight_ = legendRows_ * legendRowHeight_;
    }
    right_ = client_.cx - kRightMargin;
    bottom_ = client_.cy - kBottomMargin - legendHeight_;
}
