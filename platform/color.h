#pragma once

#include <cstdint>

// A colour as the diagram stores it: 0x00BBGGRR, red in the lowest byte.
using ColorRef = std::uint32_t;

constexpr ColorRef Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return ColorRef{red} | (ColorRef{green} << 8) | (ColorRef{blue} << 16);
}
constexpr std::uint8_t RedOf(ColorRef color) { return color & 0xFF; }
constexpr std::uint8_t GreenOf(ColorRef color) { return (color >> 8) & 0xFF; }
constexpr std::uint8_t BlueOf(ColorRef color) { return (color >> 16) & 0xFF; }

// The colours with a fixed meaning on the diagram: selection is drawn blue,
// an element over a limit red, a bus's selection handles white.
inline constexpr ColorRef kBlack = Rgb(0, 0, 0);
inline constexpr ColorRef kWhite = Rgb(255, 255, 255);
inline constexpr ColorRef kRed = Rgb(255, 0, 0);
inline constexpr ColorRef kBlue = Rgb(0, 0, 255);

// Stored where a colour may be left to someone else (a grid cell's default
// cell, a colour picker's automatic choice): no colour of its own.
inline constexpr ColorRef kAutomaticColor = 0xFF000000;
