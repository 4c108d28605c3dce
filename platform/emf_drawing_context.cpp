#include "emf_drawing_context.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <cstdint>
#include <cstdlib>
#include <new>

#include <uemf.h>

#include "windows_1250_code_page.h"

namespace {

// The records are built in memory; libuemf insists on a file to write them
// to at the end, and the caller decides where the bytes go.
constexpr const char* kDiscardedFile = "/dev/null";
constexpr std::uint32_t kInitialBytes = 64 * 1024;
constexpr std::uint32_t kGrowthBytes = 64 * 1024;
constexpr std::uint32_t kInitialHandles = 32;

// 96 pixels per inch: a reference device of 960 pixels is 254 mm wide.
constexpr int kReferencePixels = 960;
constexpr int kReferenceMillimetres = 254;

// Pixels of the reference device in hundredths of a millimetre; a diagram
// may be far wider than an int of those.
std::int32_t Hundredths(int pixels) {
    const long long hundredths = 100LL * kReferenceMillimetres * pixels / kReferencePixels;
    return static_cast<std::int32_t>(std::min<long long>(hundredths, INT32_MAX));
}

U_POINTL ToPointl(Point p) { return point32_set(p.x, p.y); }
U_RECTL ToRectl(const Rect& r) { return rectl_set(point32_set(r.left, r.top), point32_set(r.right, r.bottom)); }
U_COLORREF ToColorref(ColorRef c) { return colorref3_set(RedOf(c), GreenOf(c), BlueOf(c)); }

U_RECTL BoundsOf(std::span<const Point> points) {
    if (points.empty()) return rectl_set(point32_set(0, 0), point32_set(0, 0));
    Rect bounds{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const Point& p : points) {
        bounds.left = std::min(bounds.left, p.x);
        bounds.top = std::min(bounds.top, p.y);
        bounds.right = std::max(bounds.right, p.x);
        bounds.bottom = std::max(bounds.bottom, p.y);
    }
    return ToRectl(bounds);
}

// A point on the ray from the box's centre at `degrees` (counter-clockwise
// on the screen from the positive x axis), far enough out that rounding
// hardly turns it.
Point RayPoint(const Rect& box, double degrees) {
    const double radians = degrees * std::numbers::pi / 180.0;
    const double reach = 1.0 + std::abs(static_cast<double>(box.Width())) + std::abs(static_cast<double>(box.Height()));
    const double cx = (box.left + box.right) / 2.0;
    const double cy = (box.top + box.bottom) / 2.0;
    auto coordinate = [](double value) {
        return static_cast<int>(std::clamp(std::round(value), -2147483648.0, 2147483647.0));
    };
    return {coordinate(cx + reach * std::cos(radians)), coordinate(cy - reach * std::sin(radians))};
}

struct PixelSize {
    int width;
    int height;
};

// One pixel per logical unit, scaled down evenly so that neither side
// exceeds the most a nested picture may take.
PixelSize RasterSize(int width, int height) {
    const int longer = std::max(width, height);
    if (longer <= EmfDrawingContext::kMostPictureSide) return {width, height};
    const double shrink = static_cast<double>(EmfDrawingContext::kMostPictureSide) / longer;
    return {std::max(1, static_cast<int>(width * shrink)), std::max(1, static_cast<int>(height * shrink))};
}

std::vector<U_POINTL> ToPointls(std::span<const Point> points) {
    std::vector<U_POINTL> out;
    out.reserve(points.size());
    for (const Point& p : points) out.push_back(ToPointl(p));
    return out;
}

}  // namespace

struct EmfDrawingContext::Writer {
    EMFTRACK* track = nullptr;
    EMFHANDLES* handles = nullptr;

    ~Writer() {
        emf_free(&track);
        emf_htable_free(&handles);
    }
};

EmfDrawingContext::EmfDrawingContext(ITextMeasurer& measurer, Size frame, IPictureRasteriser* rasteriser)
    : measurer_(measurer), rasteriser_(rasteriser), writer_(std::make_unique<Writer>()) {
    if (emf_start(kDiscardedFile, kInitialBytes, kGrowthBytes, &writer_->track) != 0 ||
        emf_htable_create(kInitialHandles, kInitialHandles, &writer_->handles) != 0) {
        throw std::bad_alloc();
    }
    int width = std::max(frame.cx, 1);
    int height = std::max(frame.cy, 1);
    U_RECTL bounds = rectl_set(point32_set(0, 0), point32_set(width - 1, height - 1));
    // The frame is in hundredths of a millimetre.
    U_RECTL mm100 = rectl_set(point32_set(0, 0), point32_set(Hundredths(width), Hundredths(height)));
    Append(U_EMRHEADER_set(bounds, mm100, nullptr, 0, nullptr, sizel_set(kReferencePixels, kReferencePixels),
                           sizel_set(kReferenceMillimetres, kReferenceMillimetres), 0));
}

EmfDrawingContext::~EmfDrawingContext() {
    // Finishing closes the file the writer holds open.
    if (!finished_ && writer_->track != nullptr) emf_finish(writer_->track, writer_->handles);
}

void EmfDrawingContext::Append(char* record) {
    if (finished_ || record == nullptr) {
        std::free(record);
        return;
    }
    // Frees the record once it is copied.
    emf_append(reinterpret_cast<U_ENHMETARECORD*>(record), writer_->track, 1);
}

std::vector<std::uint8_t> EmfDrawingContext::Finish() {
    if (finished_) return {};
    if (clipSaved_) Append(U_EMRRESTOREDC_set(-1));
    Append(U_EMREOF_set(0, nullptr, writer_->track));
    // Finishing fills in the header's record count and size.
    emf_finish(writer_->track, writer_->handles);
    finished_ = true;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(writer_->track->buf);
    return std::vector<std::uint8_t>(bytes, bytes + writer_->track->used);
}

void EmfDrawingContext::ForgetSelections() {
    pen_.reset();
    brush_.reset();
    font_.reset();
    textColor_.reset();
    textAlign_.reset();
    backgroundMode_.reset();
}

void EmfDrawingContext::UseClip() {
    const std::optional<Rect>& wanted = State().clip;
    if (wanted == clip_) return;
    if (clipSaved_) {
        Append(U_EMRRESTOREDC_set(-1));
        clipSaved_ = false;
        ForgetSelections();
    }
    if (wanted) {
        Append(U_EMRSAVEDC_set());
        clipSaved_ = true;
        Append(U_EMRINTERSECTCLIPRECT_set(ToRectl(*wanted)));
    }
    clip_ = wanted;
}

void EmfDrawingContext::SelectCreated(std::uint32_t created, std::uint32_t& current) {
    Append(selectobject_set(created, writer_->handles));
    if (current != 0) Append(deleteobject_set(&current, writer_->handles));
    current = created;
}

void EmfDrawingContext::UsePen() {
    UseClip();
    const LogPen& pen = State().pen;
    if (pen_ == pen) return;
    // One logical unit is one pixel, so width 1 draws what width 0 does; some
    // readers scale a dotted pen's pattern by its width and lose it at 0.
    const int width = std::max(pen.width.x, 1);
    std::uint32_t created = 0;
    Append(createpen_set(&created, writer_->handles,
                         logpen_set(static_cast<std::uint32_t>(pen.style), point32_set(width, 0),
                                    ToColorref(pen.color))));
    SelectCreated(created, penHandle_);
    pen_ = pen;
}

void EmfDrawingContext::UseBrush() {
    UsePen();
    const LogBrush& brush = State().brush;
    if (brush_ == brush) return;
    std::uint32_t created = 0;
    Append(createbrushindirect_set(
        &created, writer_->handles,
        logbrush_set(static_cast<std::uint32_t>(brush.style), ToColorref(brush.color), brush.hatch)));
    SelectCreated(created, brushHandle_);
    brush_ = brush;
}

void EmfDrawingContext::UseTextAttributes() {
    UseClip();
    const DrawingState& state = State();
    if (font_ != state.font) {
        uint16_t face[U_LF_FACESIZE] = {};
        std::string_view name = state.font.FaceName();
        for (std::size_t i = 0; i < name.size() && i + 1 < U_LF_FACESIZE; ++i) {
            face[i] = Windows1250ToUnicode(static_cast<std::uint8_t>(name[i]));
        }
        U_LOGFONT font = logfont_set(state.font.height, state.font.width, state.font.escapement,
                                     state.font.orientation, state.font.weight, state.font.italic,
                                     state.font.underline, state.font.strikeOut, state.font.charSet,
                                     state.font.outPrecision, state.font.clipPrecision, state.font.quality,
                                     state.font.pitchAndFamily, face);
        std::uint32_t created = 0;
        Append(extcreatefontindirectw_set(&created, writer_->handles, reinterpret_cast<const char*>(&font), nullptr));
        SelectCreated(created, fontHandle_);
        font_ = state.font;
    }
    if (textColor_ != state.textColor) {
        Append(U_EMRSETTEXTCOLOR_set(ToColorref(state.textColor)));
        textColor_ = state.textColor;
    }
    if (textAlign_ != state.textAlign) {
        Append(U_EMRSETTEXTALIGN_set(state.textAlign));
        textAlign_ = state.textAlign;
    }
    if (backgroundMode_ != state.backgroundMode) {
        Append(U_EMRSETBKMODE_set(static_cast<std::uint32_t>(state.backgroundMode)));
        backgroundMode_ = state.backgroundMode;
    }
}

void EmfDrawingContext::DrawLine(Point from, Point to) {
    UsePen();
    Append(U_EMRMOVETOEX_set(ToPointl(from)));
    Append(U_EMRLINETO_set(ToPointl(to)));
}

void EmfDrawingContext::DrawPolyline(std::span<const Point> points) {
    if (points.empty()) return;
    UsePen();
    std::vector<U_POINTL> pointls = ToPointls(points);
    Append(U_EMRPOLYLINE_set(BoundsOf(points), static_cast<std::uint32_t>(pointls.size()), pointls.data()));
}

void EmfDrawingContext::DrawPolygon(std::span<const Point> points) {
    if (points.empty()) return;
    UseBrush();
    std::vector<U_POINTL> pointls = ToPointls(points);
    Append(U_EMRPOLYGON_set(BoundsOf(points), static_cast<std::uint32_t>(pointls.size()), pointls.data()));
}

void EmfDrawingContext::DrawRectangle(const Rect& r) {
    UseBrush();
    Append(U_EMRRECTANGLE_set(ToRectl(r)));
}

void EmfDrawingContext::DrawEllipse(const Rect& box) {
    UseBrush();
    Append(U_EMRELLIPSE_set(ToRectl(box)));
}

void EmfDrawingContext::DrawArc(const Rect& box, const ArcSpan& span) {
    UsePen();
    // Some readers draw every arc the short way round, and nothing when its
    // ends coincide (a whole ellipse): an arc of more than half a turn is
    // written as two halves, which every reader draws alike.
    if (span.sweepDegrees <= 180.0) {
        Append(U_EMRARC_set(ToRectl(box), ToPointl(span.start), ToPointl(span.end)));
        return;
    }
    const Point middle = RayPoint(box, span.startDegrees + span.sweepDegrees / 2.0);
    Append(U_EMRARC_set(ToRectl(box), ToPointl(span.start), ToPointl(middle)));
    Append(U_EMRARC_set(ToRectl(box), ToPointl(middle), ToPointl(span.end)));
}

void EmfDrawingContext::DrawText(Point at, std::string_view text) {
    if (text.empty()) return;
    UseTextAttributes();
    Size extent = MeasureText(text);
    U_RECTL bounds = rectl_set(ToPointl(at), point32_set(at.x + extent.cx, at.y + extent.cy));
    // Each character advances by the average width; readers that lay text out
    // themselves ignore the advances.
    std::vector<std::uint32_t> advances(text.size(), static_cast<std::uint32_t>(extent.cx / static_cast<int>(text.size())));
    // Written in UTF-16: readers take single-byte text in a code page of
    // their own choosing, and the labels' degree signs and accented names
    // would not survive it.
    std::vector<std::uint16_t> units(text.size());
    std::transform(text.begin(), text.end(), units.begin(),
                   [](char c) { return Windows1250ToUnicode(static_cast<std::uint8_t>(c)); });
    char* body = emrtext_set(ToPointl(at), static_cast<U_NUM_STR>(units.size()), 2, units.data(), U_ETO_NONE,
                             rectl_set(point32_set(0, 0), point32_set(-1, -1)), advances.data());
    Append(U_EMREXTTEXTOUTW_set(bounds, U_GM_COMPATIBLE, 1.0f, 1.0f, reinterpret_cast<PU_EMRTEXT>(body)));
    std::free(body);
}

Size EmfDrawingContext::MeasureText(std::string_view text) { return measurer_.TextExtent(State().font, text); }

void EmfDrawingContext::DrawPicture(std::span<const std::uint8_t> metafile, const Rect& where) {
    Rect target = where;
    target.Normalize();
    if (rasteriser_ == nullptr || target.IsEmpty()) return;
    const PixelSize size = RasterSize(target.Width(), target.Height());
    std::vector<std::uint32_t> pixels = rasteriser_->Rasterise(metafile, size.width, size.height);
    if (pixels.size() != static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height)) return;
    UseClip();
    // A bottom-up device-independent bitmap of 32 bits, blue, green, red
    // and alpha in each pixel's bytes: the rasteriser's rows in reverse.
    std::vector<std::uint32_t> bottomUp;
    bottomUp.reserve(pixels.size());
    for (int row = size.height - 1; row >= 0; --row) {
        auto first = pixels.begin() + static_cast<std::ptrdiff_t>(row) * size.width;
        bottomUp.insert(bottomUp.end(), first, first + size.width);
    }
    const auto byteCount = static_cast<std::uint32_t>(bottomUp.size() * sizeof(std::uint32_t));
    PU_BITMAPINFO info = bitmapinfo_set(
        bitmapinfoheader_set(size.width, size.height, 1, U_BCBM_COLOR32, U_BI_RGB, byteCount, 0, 0, 0, 0), nullptr);
    const U_BLEND blend{0, 0, 0xFF, U_AC_SRC_ALPHA};  // source over, by each pixel's alpha
    Append(U_EMRALPHABLEND_set(ToRectl(target), point32_set(target.left, target.top),
                               point32_set(target.Width(), target.Height()), point32_set(0, 0),
                               point32_set(size.width, size.height), xform_set(1, 0, 0, 1, 0, 0),
                               colorref3_set(0, 0, 0), U_DIB_RGB_COLORS, blend, info, byteCount,
                               reinterpret_cast<char*>(bottomUp.data())));
    std::free(info);
}
