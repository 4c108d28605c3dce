#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fixed_metric_measurer.h"
#include "report_interface.h"

// A report of a given number of pages that counts how it is used: the
// pages pictured, in order, and the references released. It never deletes
// itself; the test owns it. Page n's picture is a black bar 20 x n report
// units wide at (100, 100), so a grab shows which page is up.
class CountingReport final : public IDBReport {
public:
    static constexpr Rect BarOf(int page) { return {100, 100, 100 + 20 * page, 120}; }

    explicit CountingReport(int pages, int pageType = 2) : pages_(pages), pageType_(pageType) {}
    ~CountingReport() override = default;

    std::vector<int> rendered;  // the pages GetPageMetafile was asked for
    int releases = 0;

    IDBReport& operator<<(const DateTime&) override { return *this; }
    IDBReport& operator<<(const std::string&) override { return *this; }
    IDBReport& operator<<(_ENDL) override { return *this; }
    IDBReport& operator<<(const char*) override { return *this; }
    void SetSection(int) override {}
    int Release() override {
        ++releases;
        return --references_;
    }
    void AddRef() override { ++references_; }
    const LogFont& GetNormalFont() override { return font_; }
    const LogFont& GetBoldFont() override { return font_; }
    const LogFont& GetHighFont() override { return font_; }
    const LogFont& GetItalicFont() override { return font_; }
    const LogFont& GetBoldItalicFont() override { return font_; }
    void Reserved(int) override {}
    const Rect& GetMargins() override { return margins_; }
    const Rect& GetTextBlock() override { return margins_; }
    ITextMeasurer& GetDisplayDC() override { return display_; }
    int GetPageType() override { return pageType_; }
    int GetColumns() override { return 158; }
    Size LayoutLine(std::string_view, DrawingContext*, int, bool, std::vector<ReportRun>*) override { return {}; }
    int DrawFirstPageBlock(DrawingContext&, int, int) override { return 0; }
    int DrawHeaderBlock(DrawingContext&, int, int) override { return 0; }
    void WriteHeaderBlock(std::string&, int) override {}
    void WriteFirstPageBlock(std::string&, int) override {}
    int GetHeaderHeight() override { return 0; }
    void SetAlignment(int) override {}
    void SetRepeatHeader(bool) override {}
    void SetTitle(const char* title) override { title_ = title; }
    const char* GetTitle() override { return title_.c_str(); }
    int SetPageType(int type) override { return pageType_ = type; }
    int GetPageCount() override { return pages_; }
    std::unique_ptr<RecordedPicture> GetPageMetafile(int page) override {
        rendered.push_back(page);
        if (page < 1 || page > pages_) return nullptr;
        PictureRecorder recorder(display_, GetPageSize());
        recorder.SelectBrush({BrushStyle::Solid, kBlack, 0});
        recorder.SelectPen({PenStyle::Solid, {0, 0}, kBlack});
        recorder.Rectangle(BarOf(page));
        return std::make_unique<RecordedPicture>(recorder.Finish());
    }
    bool IsLandscape() override { return pageType_ == 2; }
    Size GetPageSize() override { return pageType_ == 2 ? Size{1160, 845} : Size{725, 1040}; }
    void SetPageLabel(const char*) override {}
    bool SaveAs(const char*, bool) override { return false; }
    void Rule(char, int, bool) override {}
    void Spaces(int) override {}
    void LeftJustify(const std::string&, int) override {}
    void LeftJustify(const char*, int) override {}
    void RightJustify(const std::string&, int) override {}
    void RightJustify(const char*, int) override {}
    void Number(long, int) override {}
    void Number(double, int, int) override {}
    void WriteLines(std::string, int) override {}
    void SetOption(bool) override {}
    bool GetOption() override { return true; }
    IDBReport& operator<<(char) override { return *this; }

private:
    int pages_;
    int pageType_;
    int references_ = 1;
    std::string title_ = "Counted";
    LogFont font_;
    Rect margins_{25, 25, 1148, 811};
    FixedMetricMeasurer display_;
};
