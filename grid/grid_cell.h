#pragma once

#include <optional>

#include <QPointer>

#include "grid_cell_base.h"
#include "grid_in_place_edit.h"

// The ordinary cell of the grid, the one the grid makes unless told
// otherwise.
class CGridCell : public CGridCellBase {
public:
    CGridCell();
    // An edit still open is closed without a word to the grid.
    ~CGridCell() override;
    CGridCell& operator=(const CGridCell& other);

    void SetText(const QString& text) override { text_ = text; }
    void SetImage(int image) override { image_ = image; }
    void SetData(std::intptr_t data) override { data_ = data; }
    void SetFormat(unsigned format) override { format_ = format; }
    void SetTextColour(ColorRef colour) override { textColour_ = colour; }
    void SetBackColour(ColorRef colour) override { backColour_ = colour; }
    void SetFont(const LogFont* font) override;
    void SetMargin(int margin) override { margin_ = margin; }
    void SetGrid(CGridCtrl* grid) override { grid_ = grid; }

    const QString& GetText() const override { return text_; }
    int GetImage() const override { return image_; }
    std::intptr_t GetData() const override { return data_; }
    unsigned GetFormat() const override;
    ColorRef GetTextColour() const override { return textColour_; }
    ColorRef GetBackColour() const override { return backColour_; }
    const LogFont* GetFont() const override;
    QFont GetFontObject() const override;
    CGridCtrl* GetGrid() const override { return grid_; }
    int GetMargin() const override;
    bool IsDefaultFont() const override { return !font_.has_value(); }

    // Every attribute back to "the default cell's", no grid, no edit; the
    // user value stays.
    void Reset() override;

    // Opens a CInPlaceEdit over the cell, aligned as the text is; while one
    // is open, a typed key goes into it.
    bool Edit(int row, int col, Rect rect, QPoint point, unsigned key) override;
    void EndEdit() override;
    void OnEndEdit() override;
    bool IsEditing() const override { return editing_; }
    CInPlaceEdit* GetEditWnd() const override { return editWnd_; }

protected:
    // The default cell to fall back on, never this cell itself (a default
    // cell whose own format or margin is -1 would otherwise ask itself).
    const CGridDefaultCell* Fallback() const;

private:
    QString text_;
    std::intptr_t data_ = 0;
    int image_ = -1;
    unsigned format_ = kDefaultCellFormat;
    ColorRef textColour_ = kAutomaticColor;
    ColorRef backColour_ = kAutomaticColor;
    std::optional<LogFont> font_;
    int margin_ = kDefaultCellMargin;
    CGridCtrl* grid_ = nullptr;
    bool editing_ = false;
    // The edit deletes itself once it has ended.
    QPointer<CInPlaceEdit> editWnd_;
};
