#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "report_interface.h"
#include "report_pages.h"

// The report object behind createReport. Lines are measured once, when they
// are closed; pictures and the text file are made from the stored lines.
class CDBReport final : public IDBReport {
public:
    explicit CDBReport(ITextMeasurer& display);

    IDBReport& operator<<(const DateTime& date) override;
    IDBReport& operator<<(const std::string& text) override;
    IDBReport& operator<<(_ENDL) override;
    IDBReport& operator<<(const char* text) override;
    void SetSection(int section) override;
    int Release() override;
    void AddRef() override;
    const LogFont& GetNormalFont() override { return normalFont_; }
    const LogFont& GetBoldFont() override { return boldFont_; }
    const LogFont& GetHighFont() override { return highFont_; }
    const LogFont& GetItalicFont() override { return italicFont_; }
    const LogFont& GetBoldItalicFont() override { return boldItalicFont_; }
    void Reserved(int) override {}
    const Rect& GetMargins() override { return margins_; }
    const Rect& GetTextBlock() override { return textBlock_; }
    ITextMeasurer& GetDisplayDC() override { return display_; }
    int GetPageType() override { return pageType_; }
    int GetColumns() override { return columns_; }
    Size LayoutLine(std::string_view line, DrawingContext* dc, int y, bool draw,
                    std::vector<ReportRun>* runs) override;
    int DrawFirstPageBlock(DrawingContext& dc, int x, int y) override;
    int DrawHeaderBlock(DrawingContext& dc, int x, int y) override;
    void WriteHeaderBlock(std::string& out, int page) override;
    void WriteFirstPageBlock(std::string& out, int page) override;
    int GetHeaderHeight() override;
    void SetAlignment(int alignment) override;
    void SetRepeatHeader(bool repeat) override { repeatHeader_ = repeat; }
    void SetTitle(const char* title) override { title_ = title != nullptr ? title : ""; }
    const char* GetTitle() override { return title_.c_str(); }
    int SetPageType(int type) override;
    int GetPageCount() override { return static_cast<int>(pages_.size()); }
    std::unique_ptr<RecordedPicture> GetPageMetafile(int page) override;
    bool IsLandscape() override { return landscape_; }
    Size GetPageSize() override { return pageSize_; }
    void SetPageLabel(const char* label) override { pageLabel_ = label != nullptr ? label : ""; }
    bool SaveAs(const char* path, bool formFeeds) override;
    void Rule(char c, int n, bool endLine) override;
    void Spaces(int n) override;
    void LeftJustify(const std::string& text, int width) override;
    void LeftJustify(const char* text, int width) override;
    void RightJustify(const std::string& text, int width) override;
    void RightJustify(const char* text, int width) override;
    void Number(long value, int width) override;
    void Number(double value, int width, int decimals) override;
    void WriteLines(std::string text, int width) override;
    void SetOption(bool convertLetters) override { option_ = convertLetters; }
    bool GetOption() override { return option_; }
    IDBReport& operator<<(char c) override;

    // The font that draws runs of the kind.
    const LogFont& FontOf(int kind) const;

private:
    ~CDBReport() override = default;

    void CreateFonts(int height, int highHeight);
    void EndLine();
    void NewPage();
    // Widens the text block to hold a line or block this wide.
    void Widen(int width);
    // Lays out the block when its section is left and puts it on page 1.
    void PlaceBlock(ReportBlock& block);
    void DrawFooter(DrawingContext& dc, int page);

    ITextMeasurer& display_;
    LogFont normalFont_;
    LogFont boldFont_;
    LogFont footerFont_;
    LogFont highFont_;
    LogFont italicFont_;
    LogFont boldItalicFont_;
    LogPen rulePen_{PenStyle::Solid, {0, 0}, kBlack};
    Size pageSize_{756, 1069};
    Rect margins_;
    Rect textBlock_;
    int references_ = 1;
    bool landscape_ = false;
    int columns_ = 96;
    std::string line_;
    std::vector<std::unique_ptr<ReportPage>> pages_;
    int pageType_ = 0;
    std::string title_;
    ReportPage* currentPage_ = nullptr;
    ReportBlock headerBlock_{*this};
    ReportBlock firstPageBlock_{*this};
    int section_ = 2;
    bool repeatHeader_ = false;
    int renderedPage_ = 1;  // the page GetPageMetafile draws, read by the blocks
    std::string pageLabel_ = "Page";
    bool option_ = true;
};
