#pragma once

#include <cstdint>

// An element key: bits 8-31 a serial number from 1, bits 0-7 the category
// under which the element is filed (the list that holds it). Keys are unique
// within their list; 0 and -1 name no element. A category byte of 25 marks
// the key of a bus group, whose serial is the group's index; such keys
// belong to no list.

// The categories, as `GetType(false)` answers them and as the model's lists
// are chosen by them. Every bus kind is filed as a bus, every line and
// transformer as a line, both free-line styles as a free line and every
// switching kind as a connector.
namespace Category {
inline constexpr int Bus = 1;
inline constexpr int Load = 3;
inline constexpr int Generator = 4;
inline constexpr int SyncCompensator = 5;
inline constexpr int VarCompensator = 6;
inline constexpr int Shunt = 7;
inline constexpr int Capacitor = 8;
inline constexpr int Reactor = 9;
inline constexpr int Line = 10;
inline constexpr int FreeLine = 13;
inline constexpr int FreeText = 15;
inline constexpr int CapacitorBank = 16;
inline constexpr int ReactorBank = 17;
inline constexpr int Connector = 20;
inline constexpr int CircuitBreaker = 22;  // selects the connector list as well
inline constexpr int BusGroup = 25;
inline constexpr int Polygon = 27;
inline constexpr int SystemInfo = 28;
}  // namespace Category

inline constexpr int kNoElementKey = 0;
inline constexpr int kFreeEndKey = -1;
// The largest serial a key can carry: 24 bits.
inline constexpr std::uint32_t kMaxKeySerial = 0xFFFFFF;

constexpr int KeyCategory(int key) { return static_cast<int>(static_cast<std::uint32_t>(key) & 0xFF); }
constexpr std::uint32_t KeySerial(int key) { return static_cast<std::uint32_t>(key) >> 8; }
constexpr int MakeKey(std::uint32_t serial, int category) {
    return static_cast<int>((serial << 8) | (static_cast<std::uint32_t>(category) & 0xFF));
}
// Keys 0 and -1 and bus-group keys are no element of any list.
constexpr bool IsElementKey(int key) {
    return key != kNoElementKey && key != kFreeEndKey && KeyCategory(key) != Category::BusGroup;
}
