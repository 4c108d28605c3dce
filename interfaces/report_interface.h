#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "date_time.h"
#include "drawing_context.h"
#include "drawing_records.h"
#include "geometry.h"
#include "recorded_picture.h"
#include "text_measurer.h"
#include "wendlow_api.h"

// One piece of a report line drawn in one font, as the layout cuts it.
struct ReportRun {
    std::string text;
    int kind = 1;  // 1 normal font, 2 bold font, 4 double-width font
    Size extent;   // report units, as measured on the display
};

// A paged text report written line by line: text with printer control codes
// (the format markers below) is streamed into the current line, NL closes it,
// and closed lines fill pages. The pages can then be had as pictures, and the
// whole report saved as a text file for a dot-matrix printer. One report unit
// is one pixel of the display. The object starts with one reference and
// deletes itself when the last one is released. The order of the operations
// is part of the interface.
class IDBReport {
public:
    // The tag that closes a line; streamed as the exported NL.
    struct _ENDL {};

    virtual IDBReport& operator<<(const DateTime& date) = 0;  // "dd.mm.yyyy", -1 for each part of an invalid date
    virtual IDBReport& operator<<(const std::string& text) = 0;
    virtual IDBReport& operator<<(_ENDL) = 0;
    virtual IDBReport& operator<<(const char* text) = 0;  // null is ignored
    // 0 first-page block, 1 header block, 2 body, 3 body whose later pages
    // omit the header block.
    virtual void SetSection(int section) = 0;
    // Answers the remaining count; at zero the object is gone.
    virtual int Release() = 0;
    virtual void AddRef() = 0;

protected:
    virtual ~IDBReport() = default;

public:
    virtual const LogFont& GetNormalFont() = 0;
    virtual const LogFont& GetBoldFont() = 0;
    virtual const LogFont& GetHighFont() = 0;  // the double-width font
    virtual const LogFont& GetItalicFont() = 0;
    virtual const LogFont& GetBoldItalicFont() = 0;
    // Keeps a slot of the interface; does nothing.
    virtual void Reserved(int) = 0;
    virtual const Rect& GetMargins() = 0;
    // Where text and footer go; its bottom is the footer line.
    virtual const Rect& GetTextBlock() = 0;
    // The display on which every line is measured.
    virtual ITextMeasurer& GetDisplayDC() = 0;
    // 2 landscape, 1 portrait with a small font, other values portrait.
    virtual int GetPageType() = 0;
    // Characters a line holds on the page type.
    virtual int GetColumns() = 0;
    // Cuts a line into runs and measures them; with `draw`, draws them on
    // `dc` from the text block's left edge with their bottom at y + the
    // line's height (the caller sets bottom alignment). Fills `runs` when
    // given. Answers the line's width and height.
    virtual Size LayoutLine(std::string_view line, DrawingContext* dc, int y, bool draw,
                            std::vector<ReportRun>* runs) = 0;
    // Draw the block at (x, y) when it belongs on the page being rendered
    // and answer its height, else 0.
    virtual int DrawFirstPageBlock(DrawingContext& dc, int x, int y) = 0;
    virtual int DrawHeaderBlock(DrawingContext& dc, int x, int y) = 0;
    // Append the block's lines, each ending in '\n', when it belongs on page n.
    virtual void WriteHeaderBlock(std::string& out, int page) = 0;
    virtual void WriteFirstPageBlock(std::string& out, int page) = 0;
    // Height kept free at the top of body pages for the repeated header.
    virtual int GetHeaderHeight() = 0;
    // 0 the text block against the left margin, 1 against the right, 2
    // centred; after the last line.
    virtual void SetAlignment(int alignment) = 0;
    virtual void SetRepeatHeader(bool repeat) = 0;
    virtual void SetTitle(const char* title) = 0;
    virtual const char* GetTitle() = 0;
    // Sizes, columns and fonts for the lines that follow; answers the bottom
    // margin. Comes first, before any text.
    virtual int SetPageType(int type) = 0;
    virtual int GetPageCount() = 0;
    // The picture of page n (from 1) with its footer, on a frame of the page
    // size; nothing for a page that does not exist.
    virtual std::unique_ptr<RecordedPicture> GetPageMetafile(int page) = 0;
    virtual bool IsLandscape() = 0;
    virtual Size GetPageSize() = 0;
    // First word of the footer's page number, "Page" at first.
    virtual void SetPageLabel(const char* label) = 0;
    // The printer text file, CR LF after every line, with a form feed after
    // each page when asked. False, leaving no file behind and the old one
    // untouched, when it cannot be written completely.
    virtual bool SaveAs(const char* path, bool formFeeds) = 0;
    // n copies of c ('-' as the unbroken dash 0x97), then the line closed
    // when asked.
    virtual void Rule(char c, int n, bool endLine) = 0;
    virtual void Spaces(int n) = 0;
    // The text in `width` columns: cut to its first `width` characters, or
    // padded with blanks after it (left) or before it (right).
    virtual void LeftJustify(const std::string& text, int width) = 0;
    virtual void LeftJustify(const char* text, int width) = 0;
    virtual void RightJustify(const std::string& text, int width) = 0;
    virtual void RightJustify(const char* text, int width) = 0;
    virtual void Number(long value, int width) = 0;
    // Fixed-point with the user's decimal character.
    virtual void Number(double value, int width, int decimals) = 0;
    // Each line of the text (empty ones skipped), cut to `width`, as a line.
    virtual void WriteLines(std::string text, int width) = 0;
    // Whether SaveAs writes the East European letters in code page 852.
    virtual void SetOption(bool convertLetters) = 0;
    virtual bool GetOption() = 0;
    virtual IDBReport& operator<<(char c) = 0;
};

// A new empty report holding one reference (portrait page, section 2, page
// label "Page"); null when it cannot be made. The display is borrowed: it
// measures every line and must outlive the report.
extern "C" WENDLOW_API IDBReport* createReport(ITextMeasurer& display);

// Closes the current line when streamed into a report.
extern WENDLOW_API const IDBReport::_ENDL NL;

// Printer control codes that the report shows and its text file keeps.
extern WENDLOW_API const char* const fmtBoldStart;        // ESC G
extern WENDLOW_API const char* const fmtBoldEnd;          // ESC H
extern WENDLOW_API const char* const fmtItalicStart;      // ESC 4
extern WENDLOW_API const char* const fmtItalicEnd;        // ESC 5
extern WENDLOW_API const char* const fmtBoldItalicStart;  // ESC G ESC 4
extern WENDLOW_API const char* const fmtBoldItalicEnd;    // ESC H ESC 5
extern WENDLOW_API const char* const fmtHighStart;        // SO: double width
extern WENDLOW_API const char* const fmtHighEnd;          // DC4
