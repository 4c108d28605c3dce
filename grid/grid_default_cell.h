#pragma once

#include "grid_cell.h"

// One of the grid's four templates (normal, fixed row, fixed column, corner):
// the format, colours, font and margin that cells without their own take,
// the size of new rows and columns, and the colours of the empty areas. It
// always reads as read-only, and its state and user value cannot be set.
class CGridDefaultCell : public CGridCell {
public:
    // Single-line, vertically centred, no prefix, ellipsis at the end.
    static constexpr unsigned kFormat = 0x8824;

    // Format kFormat, no colours of its own, the system's message font.
    CGridDefaultCell();
    CGridDefaultCell& operator=(const CGridDefaultCell& other);

    void SetData(std::intptr_t) override {}
    void SetState(unsigned) override {}
    unsigned GetState() const override { return state_ | GridCellState::ReadOnly; }

    // Also sets the margin to the width of one blank, the default width to
    // that of " XXXXXXXXXXXX " and the default height to 3/2 of the text
    // height, all in this font. Nothing for null.
    void SetFont(const LogFont* font) override;
    // Always its own, never another cell's.
    const LogFont* GetFont() const override { return &logFont_; }
    bool IsDefaultFont() const override { return false; }
    QFont GetFontObject() const override { return font_; }

    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    void SetWidth(int width) { width_ = width; }
    void SetHeight(int height) { height_ = height; }

private:
    LogFont logFont_;
    QFont font_;
    int width_ = 30;
    int height_ = 10;
};
