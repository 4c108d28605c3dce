#pragma once

// The class type of an element (`GetElementType`, the type byte of a stored
// element); the model makes an empty element of a class from it.
namespace ElementType {
inline constexpr int Bus = 1;
inline constexpr int HorizontalBus = 2;
inline constexpr int Load = 3;
inline constexpr int Generator = 4;
inline constexpr int SyncCompensator = 5;
inline constexpr int VarCompensator = 6;
inline constexpr int Shunt = 7;
inline constexpr int Capacitor = 8;
inline constexpr int Reactor = 9;
inline constexpr int PowerLine = 10;
inline constexpr int Transformer = 11;
inline constexpr int RegulatedTransformer = 12;
inline constexpr int FreeLine = 13;
inline constexpr int ArrowedFreeLine = 14;
inline constexpr int FreeText = 15;
inline constexpr int VariableBank = 16;
inline constexpr int VariableReactorBank = 17;
inline constexpr int NetworkEquivalent = 18;
inline constexpr int ConnectionNode = 19;
inline constexpr int Connector = 20;
inline constexpr int Disconnector = 21;
inline constexpr int CircuitBreaker = 22;
inline constexpr int Fuse = 24;
inline constexpr int PolygonElement = 27;
inline constexpr int SystemInfo = 28;
// The highest class type code.
inline constexpr int Last = SystemInfo;
}  // namespace ElementType

// Every bus kind: bars, network equivalents and connection nodes.
constexpr bool IsBusType(int type) {
    return type == ElementType::Bus || type == ElementType::HorizontalBus ||
           type == ElementType::NetworkEquivalent || type == ElementType::ConnectionNode;
}
