// Page types and fonts, the cutting of lines into measured runs, and the
// pictures of pages with their footers.

#include <algorithm>
#include <cstdio>

#include "db_report.h"
#include "line_runs.h"

namespace {

struct PageType {
    Size size;  // report units
    int columns;
    int fontHeight;  // negative: character height
    int highFontHeight;
};

constexpr PageType kLandscape{{1160, 845}, 158, -12, -18};
constexpr PageType kSmallPortrait{{725, 1040}, 115, -10, -16};
constexpr PageType kPortrait{{725, 1040}, 96, -12, -18};

const PageType& PageTypeOf(int type) {
    if (type == 2) return kLandscape;
    if (type == 1) return kSmallPortrait;
    return kPortrait;
}

constexpr int kMarginLeft = 25;
constexpr int kMarginTop = 25;
constexpr int kMarginRight = 12;   // from the page's right edge
constexpr int kMarginBottom = 34;  // from the page's bottom edge: room for the footer

LogFont ReportFont(std::string_view face, int height, int weight, bool italic) {
    LogFont font;
    font.height = height;
    font.weight = weight;
    font.italic = italic ? 1 : 0;
    font.charSet = 238;  // East European
    font.quality = 2;
    font.pitchAndFamily = 18;
    font.SetFaceName(face);
    return font;
}

// The margins of a page, and the text block starting empty at its top left.
void SetPageFrame(Size page, Rect& margins, Rect& textBlock) {
    margins = {kMarginLeft, kMarginTop, page.cx - kMarginRight, page.cy - kMarginBottom};
    textBlock = {kMarginLeft, kMarginTop, kMarginLeft, page.cy - kMarginBottom};
}

}  // namespace

CDBReport::CDBReport(ITextMeasurer& display)
    : display_(display), footerFont_(ReportFont("Arial", -10, 400, true)) {
    CreateFonts(kPortrait.fontHeight, kPortrait.highFontHeight);
    SetPageFrame(pageSize_, margins_, textBlock_);
}

void CDBReport::CreateFonts(int height, int highHeight) {
    normalFont_ = ReportFont("Lucida Console", height, 400, false);
    boldFont_ = ReportFont("Arial", height, 700, false);
    highFont_ = ReportFont("Arial", highHeight, 700, true);
    italicFont_ = ReportFont("Lucida Console", height, 400, true);
    boldItalicFont_ = ReportFont("Lucida Console", height, 700, true);
}

const LogFont& CDBReport::FontOf(int kind) const {
    if (kind == RunKind::Bold) return boldFont_;
    if (kind == RunKind::High) return highFont_;
    return normalFont_;
}

int CDBReport::SetPageType(int type) {
    const PageType& page = PageTypeOf(type);
    pageType_ = type;
    pageSize_ = page.size;
    columns_ = page.columns;
    landscape_ = page.size.cy < page.size.cx;
    CreateFonts(page.fontHeight, page.highFontHeight);
    SetPageFrame(pageSize_, margins_, textBlock_);
    return margins_.bottom;
}

Size CDBReport::LayoutLine(std::string_view line, DrawingContext* dc, int y, bool draw,
                           std::vector<ReportRun>* runs) {
    std::vector<ReportRun> measured;
    Size size;
    for (LineRun& run : CutIntoRuns(line)) {
        Size extent = display_.TextExtent(FontOf(run.kind), run.text);
        size.cx += extent.cx;
        size.cy = std::max(size.cy, extent.cy);
        measured.push_back({std::move(run.text), run.kind, extent});
    }
    if (draw && dc != nullptr) {
        const LogFont old = dc->SelectFont(normalFont_);
        int x = textBlock_.left;
        for (const ReportRun& run : measured) {
            dc->SelectFont(FontOf(run.kind));
            dc->TextOut({x, y + size.cy}, run.text);
            x += run.extent.cx;
        }
        dc->SelectFont(old);
    }
    if (runs != nullptr) *runs = std::move(measured);
    return size;
}

int CDBReport::DrawFirstPageBlock(DrawingContext& dc, int x, int y) {
    return renderedPage_ == 1 ? firstPageBlock_.Draw(dc, x, y) : 0;
}

int CDBReport::DrawHeaderBlock(DrawingContext& dc, int x, int y) {
    return repeatHeader_ || renderedPage_ == 1 ? headerBlock_.Draw(dc, x, y) : 0;
}

int CDBReport::GetHeaderHeight() { return repeatHeader_ && pages_.size() >= 2 ? headerBlock_.GetSize().cy : 0; }

std::unique_ptr<RecordedPicture> CDBReport::GetPageMetafile(int page) {
    if (page < 1 || page > GetPageCount()) return nullptr;
    try {
        renderedPage_ = page;
        PictureRecorder dc(display_, pageSize_);
        dc.SetBackgroundMode(BackgroundMode::Transparent);
        dc.SelectFont(normalFont_);
        dc.SetTextAlign(TextAlign::Left | TextAlign::Bottom);
        dc.SelectPen(rulePen_);
        pages_[static_cast<std::size_t>(page - 1)]->Draw(dc);
        DrawFooter(dc, page);
        return std::make_unique<RecordedPicture>(dc.Finish());
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// The title on the left under the rule, "Page n/N" on the right.
void CDBReport::DrawFooter(DrawingContext& dc, int page) {
    dc.SelectFont(footerFont_);
    dc.SetTextAlign(TextAlign::Left | TextAlign::Top);
    dc.TextOut({textBlock_.left, textBlock_.bottom + 2}, title_);
    dc.MoveTo({textBlock_.left, textBlock_.bottom});
    dc.LineTo({textBlock_.right - 1, textBlock_.bottom});
    dc.SetTextAlign(TextAlign::Right | TextAlign::Top);
    std::string number = pageLabel_ + " " + std::to_string(page) + "/" + std::to_string(GetPageCount());
    dc.TextOut({textBlock_.right, textBlock_.bottom + 2}, number);
}

int ReportPage::StartHeight() {
    if (used_ < 0) used_ = report_.GetMargins().top + report_.GetHeaderHeight();
    return used_;
}

int ReportPage::AddLine(std::string line) {
    int used = StartHeight();
    Size size = report_.LayoutLine(line, nullptr, 0, false, nullptr);
    if (used + size.cy > report_.GetMargins().bottom) return -1;
    used_ += size.cy;
    lines_.push_back(std::move(line));
    return size.cx;
}

int ReportPage::AddOversizeLine(std::string line) {
    StartHeight();
    Size size = report_.LayoutLine(line, nullptr, 0, false, nullptr);
    used_ += size.cy;
    lines_.push_back(std::move(line));
    return size.cx;
}

void ReportPage::Reserve(int height) {
    if (used_ < 0) used_ = report_.GetMargins().top;
    used_ += height;
}

void ReportPage::Draw(DrawingContext& dc) {
    const Rect& block = report_.GetTextBlock();
    int y = block.top;
    y += report_.DrawFirstPageBlock(dc, block.left, y);
    if (withHeader_) y += report_.DrawHeaderBlock(dc, block.left, y);
    for (const std::string& line : lines_) y += report_.LayoutLine(line, &dc, y, true, nullptr).cy;
}

bool ReportBlock::Layout() {
    if (laidOut_) return false;
    for (const std::string& line : lines_) {
        std::vector<ReportRun> runs;
        Size size = report_.LayoutLine(line, nullptr, size_.cy, false, &runs);
        size_.cx = std::max(size_.cx, size.cx);
        size_.cy += size.cy;
        runs_.push_back(std::move(runs));
    }
    laidOut_ = true;
    return true;
}

int ReportBlock::Draw(DrawingContext& dc, int x, int y) {
    const LogFont oldFont = dc.SelectFont(report_.GetNormalFont());
    const unsigned oldAlign = dc.SetTextAlign(TextAlign::Left | TextAlign::Bottom);
    for (const std::vector<ReportRun>& line : runs_) {
        int height = 0;
        for (const ReportRun& run : line) height = std::max(height, run.extent.cy);
        y += height;
        int runX = x;
        for (const ReportRun& run : line) {
            dc.SelectFont(report_.FontOf(run.kind));
            dc.TextOut({runX, y}, run.text);
            runX += run.extent.cx;
        }
    }
    dc.SetTextAlign(oldAlign);
    dc.SelectFont(oldFont);
    return size_.cy;
}
