#pragma once

// Command numbers of the menus, tool bars and keys. The framework's own
// commands keep the numbers the document files and the resource tables of
// the program were made with.
namespace Command {
inline constexpr int FileNew = 57600;
inline constexpr int FileOpen = 57601;
inline constexpr int FileClose = 57602;
inline constexpr int FileSave = 57603;
inline constexpr int FileSaveAs = 57604;
inline constexpr int FilePrintSetup = 57606;
inline constexpr int FilePrint = 57607;
inline constexpr int FilePrintDirect = 57608;  // to the printer as set up, without the print dialog
inline constexpr int FilePrintPreview = 57609;
inline constexpr int FileRecent1 = 57616;  // the recent files follow, one number each
inline constexpr int WindowNew = 57648;
inline constexpr int WindowArrange = 57649;
inline constexpr int WindowCascade = 57650;
inline constexpr int WindowTile = 57651;
inline constexpr int AppAbout = 57664;
inline constexpr int AppExit = 57665;
inline constexpr int HelpIndex = 57666;
inline constexpr int HelpContent = 32853;
inline constexpr int HelpSearch = 32855;

// Paging and scrolling in the report window; the four "Start of"/"End of"
// commands are the network view's too.
inline constexpr int PreviousPage = 32901;
inline constexpr int NextPage = 32902;
inline constexpr int FirstPage = 32903;
inline constexpr int LastPage = 32904;
inline constexpr int GoToPage = 32905;
inline constexpr int StartOfPageUp = 32907;
inline constexpr int EndOfPageDown = 32900;
inline constexpr int StartOfPageLeft = 32908;
inline constexpr int EndOfPageRight = 32909;
inline constexpr int MoveUp = 32906;
inline constexpr int MoveDown = 32910;
inline constexpr int MoveLeft = 32911;
inline constexpr int MoveRight = 32913;
}  // namespace Command
