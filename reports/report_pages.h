#pragma once

#include <string>
#include <vector>

#include "report_interface.h"

class CDBReport;

// One body page of a report: the lines it holds and how far down they reach.
class ReportPage {
public:
    // Pages made while the section omits the header have no header.
    ReportPage(CDBReport& report, bool withHeader) : report_(report), withHeader_(withHeader) {}

    // Measures the line and stores it when it fits above the bottom margin
    // below what the page holds; answers its width, or -1 with nothing
    // stored.
    int AddLine(std::string line);
    // Stores a line that fits on no page, so that it is drawn (clipped) and
    // saved; the page is full afterwards. Answers its width.
    int AddOversizeLine(std::string line);
    // Keeps room for a block at the top of the page.
    void Reserve(int height);
    // Nothing added or reserved yet.
    bool IsFresh() const { return used_ < 0; }

    // Draws the page's blocks and lines from the text block's top.
    void Draw(DrawingContext& dc);
    // Appends the page as the text file holds it: its blocks when they belong
    // on page n, then its lines.
    void Write(std::string& out, int n);

private:
    int StartHeight();

    CDBReport& report_;
    std::vector<std::string> lines_;
    int used_ = -1;  // report units from the page's top; -1 until first used
    bool withHeader_ = true;
};

// The lines of the first-page block or of the header block, with their runs
// once laid out.
class ReportBlock {
public:
    explicit ReportBlock(CDBReport& report) : report_(report) {}

    void AddLine(std::string line) { lines_.push_back(std::move(line)); }
    // Cuts and measures the lines once; a later call does nothing. Answers
    // whether this call laid them out.
    bool Layout();
    // Width of the widest line and the sum of the heights; 0 by 0 until laid
    // out.
    Size GetSize() const { return size_; }
    // Draws the laid-out runs from (x, y) down; answers the block's height.
    int Draw(DrawingContext& dc, int x, int y);
    // Appends the lines as the text file holds them.
    void Write(std::string& out);

private:
    CDBReport& report_;
    std::vector<std::string> lines_;
    std::vector<std::vector<ReportRun>> runs_;
    Size size_;
    bool laidOut_ = false;
};
