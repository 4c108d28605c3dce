#pragma once

// The keys of the grid's edit protocol. An edit is started and ended with a
// key that travels as a number: the original platform's key numbers for the
// keys, so that owners and derived cells keep reading the values they know
// (the mouse 1, Tab 9, Enter 13, Esc 27, Page Up 33 ... Down 40).

namespace GridKey {
inline constexpr unsigned LeftButton = 1;  // the mouse, or F2: edit the text as it is
inline constexpr unsigned Backspace = 8;
inline constexpr unsigned Tab = 9;
inline constexpr unsigned Enter = 13;
inline constexpr unsigned Escape = 27;
inline constexpr unsigned Space = 32;
inline constexpr unsigned PageUp = 33;
inline constexpr unsigned PageDown = 34;
inline constexpr unsigned End = 35;
inline constexpr unsigned Home = 36;
inline constexpr unsigned Left = 37;
inline constexpr unsigned Up = 38;
inline constexpr unsigned Right = 39;
inline constexpr unsigned Down = 40;
inline constexpr unsigned Insert = 45;
inline constexpr unsigned Delete = 46;
inline constexpr unsigned F2 = 113;

// A typed character travels as its code point with this bit set: the
// characters "!" to "(" share their codes with Page Up to Down, and would
// otherwise be taken for those keys and lost.
inline constexpr unsigned kTypedBit = 0x80000000u;
constexpr unsigned Typed(char32_t character) { return kTypedBit | static_cast<unsigned>(character); }
constexpr bool IsTyped(unsigned key) { return (key & kTypedBit) != 0; }
constexpr char32_t CharacterOf(unsigned key) { return static_cast<char32_t>(key & ~kTypedBit); }

// The key number of a Qt key (letters and digits keep their codes); 0 for a
// key the grid has no use for.
unsigned FromQtKey(int qtKey);
// Page Up, Page Down, End, Home and the arrows.
constexpr bool IsNavigation(unsigned key) { return key >= PageUp && key <= Down; }
}  // namespace GridKey
