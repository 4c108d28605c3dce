#pragma once

#include <QListWidget>
#include <QMetaType>

#include "color.h"
#include "owner_draw_geometry.h"

// A colour that follows the system: the window colour as an item's colour,
// the window-text colour as its text colour, read when the item is drawn.
inline constexpr ColorRef kSystemColor = 17000000;

// Text layout flags of a colour list item, by their platform numbers.
namespace TextFormat {
inline constexpr unsigned Left = 0x0;
inline constexpr unsigned Center = 0x1;
inline constexpr unsigned Right = 0x2;
inline constexpr unsigned VerticalCenter = 0x4;
inline constexpr unsigned Bottom = 0x8;
}  // namespace TextFormat

// What a colour list item shows besides its text.
struct ColorListItem {
    ColorRef color = kSystemColor;      // the item's background, or its swatch
    ColorRef textColor = kSystemColor;
    unsigned format1 = TextFormat::Left;
    unsigned format2 = TextFormat::VerticalCenter;
    bool enabled = true;  // a disabled item is drawn dimmed
    int extra = 0;        // kept for the caller, not drawn
};
Q_DECLARE_METATYPE(ColorListItem)

// A list of text lines, each on its own colour or beside its own colour
// swatch, in its own text colour: the thresholds of the colour-map legend,
// the colour choices of the line, fill and font dialog.
class ColorListBox : public QListWidget {
    Q_OBJECT

public:
    explicit ColorListBox(QWidget* parent = nullptr);

    // -1, inserting nothing, when the index is negative or past the end;
    // the index of the new item otherwise.
    int InsertItem(const QString& text, int index, const ColorListItem& item);
    int AddItem(const QString& text, const ColorListItem& item);
    void ResetContent() { clear(); }
    // Index -1 is the current selection. False for an index outside the list.
    bool SetItemTextColor(ColorRef color, int index = -1);
    ColorListItem ItemRecord(int index) const;

    // The swatch's top and left margin, its bottom margin and its right
    // edge (from the item's left); the second value is not used.
    void SetSwatchLayout(int margin, int unused, int bottomMargin, int rightEdge);
    void SetSwatchGap(int gap);
    const SwatchLayout& Swatch() const { return swatch_; }
    // Three focus rectangles around the item with the focus.
    void SetDrawFocus(bool drawFocus) { drawFocus_ = drawFocus; }
    bool DrawFocus() const { return drawFocus_; }
    // 0 measures the font; either way the item is 6 pixels taller.
    void SetFixedItemHeight(int height);
    int FixedItemHeight() const { return fixedItemHeight_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    SwatchLayout swatch_;
    bool drawFocus_ = false;
    int fixedItemHeight_ = 0;
};
