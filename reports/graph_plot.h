#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "drawing_context.h"
#include "graph_curve.h"
#include "prompt.h"
#include "text_measurer.h"

// The active range of a plot in data units.
struct GraphRange {
    double xmin = 0.0;
    double xmax = 0.0;
    double ymin = 0.0;
    double ymax = 0.0;
};

// A data point mapped to pixels, before any clipping.
struct PixelPoint {
    double x = 0.0;
    double y = 0.0;
};

// What remains of a segment inside the plot rectangle, and which ends were
// moved onto its border.
struct ClippedSegment {
    Point from;
    Point to;
    bool fromClipped = false;
    bool toClipped = false;
};

// The tick step mantissa x 10^power, with the decimals its labels show.
struct TickStep {
    double mantissa = 0.0;
    int power = 0;
    int decimals = 0;
};

enum class Clamp { No, Yes };

// Graph types by their stored numbers.
namespace GraphType {
inline constexpr int Normal = 0;
inline constexpr int Bar = 1;
inline constexpr int Line = 2;
inline constexpr int NormalWithPoints = 3;
inline constexpr int LineWithPoints = 4;
inline constexpr int Categories = 5;  // bars over named categories, for sensitivities
}  // namespace GraphType

// A plot of the columns of a graph data file: reads the file, keeps the
// values of the columns its curves name, chooses ranges and tick steps, and
// draws axes, curves, titles and legend on any drawing context. It knows no
// window: the plot window paints it on the screen, the metafile export on an
// enhanced metafile, the tests on a recording.
class GraphPlot {
public:
    // Plot rectangle and legend layout, in pixels.
    static constexpr int kLeft = 95;
    static constexpr int kTop = 40;
    static constexpr int kRightMargin = 20;
    static constexpr int kBottomMargin = 45;
    static constexpr int kLegendColumns = 4;

    // Both are borrowed for the plot's life: the prompt shows the file's
    // missing columns, the measurer sizes text in exported metafiles.
    GraphPlot(IPrompt& prompt, ITextMeasurer& measurer);
    virtual ~GraphPlot() = default;
    GraphPlot(const GraphPlot&) = delete;
    GraphPlot& operator=(const GraphPlot&) = delete;

    void SetDataFile(const char* path);
    void AddCurve(const GraphCurve& curve);
    // For editing in place; the caller sets the redraw flag by a setter.
    CurveArray& GetCurves() { return curves_; }

    void SetGraphTitle(const std::string& title);
    void SetXAxisTitle(const std::string& title);
    void SetYAxisTitle(const std::string& title);
    std::string GetGraphTitle() const { return graphTitle_; }
    std::string GetXAxisTitle() const { return xAxisTitle_; }
    std::string GetYAxisTitle() const { return yAxisTitle_; }

    void SetGraphType(int type);
    int GetGraphType() const { return graphType_; }

    // A fixed range; automatic scaling off.
    void SetRange(float xmin, float xmax, float ymin, float ymax);
    void SetAutoScale(bool automatic);
    // The automatic range when scaling is automatic, else the fixed one, as
    // stored: nothing is computed.
    void GetStoredRange(float& xmin, float& xmax, float& ymin, float& ymax) const;

    // After each request for the automatic range, `message` is handed to the
    // sink (0: none).
    void SetNotifyMessage(unsigned message) { notifyMessage_ = message; }
    void SetNotifySink(std::function<void(unsigned)> sink) { notifySink_ = std::move(sink); }

    void SetBackgroundColor(ColorRef color);
    ColorRef GetBackgroundColor() const { return backgroundColor_; }

    // Dotted lines across the plot at the Y ticks (horizontal) and at the X
    // ticks (vertical); both are drawn unless turned off.
    void SetGridLines(bool horizontal, bool vertical);
    bool HorizontalGridLines() const { return horizontalGrid_; }
    bool VerticalGridLines() const { return verticalGrid_; }

    bool NeedsRedraw() const { return redraw_; }
    void ClearRedraw() { redraw_ = false; }
    // The client area the plot fills, in pixels; a new size needs a redraw.
    void SetClientSize(Size size);
    Size ClientSize() const { return client_; }

    // Reads the data file once: true when values were read. A file that
    // cannot be opened leaves the plot unloaded, to be tried again.
    virtual bool LoadData();
    bool IsLoaded() const { return loaded_; }
    // Finds each curve's columns in the header line; false, after telling
    // the user, at the first name the header lacks.
    bool MapCurves(const std::string& header);

    // The values read for a column, or null when no curve uses it.
    const std::vector<float>* Column(int index) const;
    const std::vector<std::string>& CategoryNames() const { return categories_; }
    const std::string& ParameterName() const { return parameterName_; }
    int ParameterColumn() const { return parameterColumn_; }
    const std::vector<float>& ParameterValues() const { return parameterValues_; }

    // The range drawing uses: the fixed one, or the automatic one computed
    // from the data at the first request and kept.
    GraphRange GetRange();

    // Plot rectangle's right and bottom edges.
    int PlotRight() const { return right_; }
    int PlotBottom() const { return bottom_; }
    int LegendHeight() const { return legendHeight_; }
    // Works out the legend band and the plot rectangle for the client size
    // with the fonts of `dc`.
    void Layout(DrawingContext& dc);

    PixelPoint ToScreen(const GraphRange& range, double x, double y, Clamp clamp) const;
    // Cuts the segment to the plot rectangle (Cohen-Sutherland on doubles):
    // nothing when no part is visible or the cutting has not settled in 16
    // rounds.
    std::optional<ClippedSegment> ClipSegment(PixelPoint from, PixelPoint to) const;
    // Digits is 1 for the X axis, 0 for the Y axis.
    static TickStep ChooseStep(double min, double max, int digits);
    static void NormalizeStep(TickStep& step);

    // Puts the plot's font, alignment, colours, brush and pen in force.
    void PrepareDC(DrawingContext& dc) const;
    // False, with nothing drawn, unless both extents are finite and positive.
    bool DrawAxes(const GraphRange& range, DrawingContext& dc);
    void DrawCurve(const std::vector<float>& xs, const std::vector<float>& ys, DrawingContext& dc,
                   const GraphRange& range, bool circles);
    // Background, axes and curves, when the redraw flag is set and the data
    // is (or now gets) loaded.
    void Render(DrawingContext& dc);
    void DrawLegend(DrawingContext& dc);
    void DrawTitles(DrawingContext& dc);

    // The whole plot as enhanced-metafile bytes, and as a file. False, with
    // no file left behind, when it cannot be written.
    std::vector<std::uint8_t> RenderMetafile();
    bool SaveMetafile(const char* path);

private:
    bool ReadDataRows(const std::vector<std::string_view>& lines, std::size_t first);
    void ComputeAutomaticRange();
    enum class Axis { X, Y };
    // Tick labels with their grid lines, from the highest tick down.
    void DrawTicks(const GraphRange& range, const TickStep& step, Axis axis, DrawingContext& dc);
    void DrawCategoryNames(const GraphRange& range, DrawingContext& dc);
    void DrawExponents(const TickStep& xStep, const TickStep& yStep, DrawingContext& dc);
    void DrawFrame(DrawingContext& dc) const;
    LogPen CurvePen(const GraphCurve& curve) const;
    void DrawCircle(DrawingContext& dc, Point at) const;

    IPrompt& prompt_;
    ITextMeasurer& measurer_;

    int graphType_ = GraphType::Normal;
    CurveArray curves_;
    std::string dataFile_;
    bool loaded_ = false;
    bool redraw_ = true;

    std::map<int, std::vector<float>> values_;
    std::vector<std::string> categories_;
    std::string parameterName_;
    int parameterColumn_ = -1;
    std::vector<float> parameterValues_;

    bool automatic_ = true;
    GraphRange fixed_;
    GraphRange automaticRange_;
    bool automaticComputed_ = false;
    unsigned notifyMessage_ = 0;
    std::function<void(unsigned)> notifySink_;

    Size client_;
    int right_ = 500;
    int bottom_ = 350;
    int legendHeight_ = 0;
    int legendRowHeight_ = 0;
    int legendRows_ = 0;

    ColorRef backgroundColor_ = kWhite;
    bool horizontalGrid_ = true;
    bool verticalGrid_ = true;
    std::string xAxisTitle_;
    std::string yAxisTitle_;
    std::string graphTitle_;

    LogFont tickFont_;
    LogFont exponentFont_;
    LogFont titleFont_;
    LogFont xTitleFont_;
    LogFont yTitleFont_;
    LogFont categoryFont_;
};
