#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "drawing_context.h"
#include "geometry.h"
#include "picture_rasteriser.h"
#include "text_measurer.h"

// A drawing context that writes an enhanced metafile: one logical unit is one
// pixel at 96 pixels per inch, over a frame from (0, 0) to the frame's size.
// Each drawing call becomes its records, preceded by those that put the pen,
// brush, font, text colour, alignment, background mode and clip in force.
// Text is written as single-byte characters and measured as the measurer's
// surface would draw it. A stored picture played into it becomes a bitmap
// record at its rectangle, one pixel per logical unit (coarser for a picture
// wider or higher than kMostPictureSide, a limit readers of the format keep),
// blended over what lies beneath where the picture leaves it uncovered:
// replaying its records instead would mean renumbering every object of the
// foreign file and trusting readers with nested transforms. Without a
// rasteriser a stored picture is left out.
class EmfDrawingContext final : public DrawingContext {
public:
    static constexpr int kMostPictureSide = 4096;

    // The measurer and the rasteriser are borrowed for the context's life.
    EmfDrawingContext(ITextMeasurer& measurer, Size frame, IPictureRasteriser* rasteriser = nullptr);
    ~EmfDrawingContext() override;

    // Closes the picture and answers its bytes, header record first and
    // end-of-file record last. Drawing after it is not recorded.
    std::vector<std::uint8_t> Finish();

protected:
    void DrawLine(Point from, Point to) override;
    void DrawPolyline(std::span<const Point> points) override;
    void DrawPolygon(std::span<const Point> points) override;
    void DrawRectangle(const Rect& r) override;
    void DrawEllipse(const Rect& box) override;
    void DrawArc(const Rect& box, const ArcSpan& span) override;
    void DrawText(Point at, std::string_view text) override;
    Size MeasureText(std::string_view text) override;
    void DrawPicture(std::span<const std::uint8_t> metafile, const Rect& where) override;

private:
    // Appends one record made by a libuemf setter (which it frees).
    void Append(char* record);
    // Selects a newly created object in place of `current`, which is deleted.
    void SelectCreated(std::uint32_t created, std::uint32_t& current);
    void UseClip();
    void UsePen();
    void UseBrush();
    void UseTextAttributes();
    // What the records have put in force; nothing known after a restored
    // device context, so that the next drawing call states all of it again.
    void ForgetSelections();

    // The writer's buffers and handle table.
    struct Writer;

    ITextMeasurer& measurer_;
    IPictureRasteriser* rasteriser_;
    std::unique_ptr<Writer> writer_;
    bool finished_ = false;

    std::optional<LogPen> pen_;
    std::optional<LogBrush> brush_;
    std::optional<LogFont> font_;
    std::uint32_t penHandle_ = 0;
    std::uint32_t brushHandle_ = 0;
    std::uint32_t fontHandle_ = 0;
    std::optional<ColorRef> textColor_;
    std::optional<unsigned> textAlign_;
    std::optional<BackgroundMode> backgroundMode_;
    std::optional<Rect> clip_;
    bool clipSaved_ = false;
};
