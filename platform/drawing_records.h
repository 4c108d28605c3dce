#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "color.h"
#include "geometry.h"

// The logical font, pen and brush records of the original platform. Elements
// keep their pens, brushes and fonts as these records, select them into a
// drawing context and store them field by field in ".pf" documents.

// Pen styles by their platform numbers.
namespace PenStyle {
inline constexpr std::int32_t Solid = 0;
inline constexpr std::int32_t Dash = 1;
}  // namespace PenStyle

// Brush styles by their platform numbers.
namespace BrushStyle {
inline constexpr std::int32_t Solid = 0;
}  // namespace BrushStyle

struct LogPen {
    std::int32_t style = PenStyle::Solid;
    Point width;  // only x counts; 0 draws one device pixel wide
    ColorRef color = kBlack;

    friend bool operator==(const LogPen&, const LogPen&) = default;
};

struct LogBrush {
    std::int32_t style = BrushStyle::Solid;
    ColorRef color = kBlack;
    std::int32_t hatch = 0;

    friend bool operator==(const LogBrush&, const LogBrush&) = default;
};

// A zero-initialised record stands for "all fields 0", as the model's fonts
// start before their few non-zero fields are set.
struct LogFont {
    static constexpr std::size_t kMaxFaceLength = 31;
    // No screen or page shows a character taller or wider than this many
    // units (and the font metrics of the screen break down not far above
    // it); stored heights and widths are held within it, either sign.
    static constexpr std::int32_t kMaxSize = 16384;

    std::int32_t height = 0;  // negative: character height in logical units
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0;  // 400 normal, 700 bold
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;

    // The face name up to its terminator.
    std::string_view FaceName() const;
    // Stores at most kMaxFaceLength characters; a longer name is cut.
    void SetFaceName(std::string_view name);

    friend bool operator==(const LogFont&, const LogFont&) = default;

private:
    // Terminated, with zeros after the terminator, so that equal names
    // compare equal.
    std::array<char, kMaxFaceLength + 1> faceName_{};
};
