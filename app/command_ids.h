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

inline constexpr int FileExportPicture = 32786;
inline constexpr int FileExportIeeeCommonFormat = 32828;
inline constexpr int RemoteConnect = 32820;

// The network window's editing.
inline constexpr int EditCut = 57635;
inline constexpr int EditCopy = 57634;
inline constexpr int EditPaste = 57637;
inline constexpr int EditDuplicate = 32919;
inline constexpr int EditSendToClipboardAsEmf = 32922;
inline constexpr int EditGlue = 32924;
inline constexpr int EditRefresh = 32912;

// The network window's appearance and drawing aids.
inline constexpr int EditMode = 321;
inline constexpr int SnapToGrid = 32897;
inline constexpr int ToolsPalette = 32779;
inline constexpr int BackgroundColor = 32799;
inline constexpr int ElementVisualProperties = 32800;
inline constexpr int Layers = 32868;
inline constexpr int DuplicationSettings = 32923;
inline constexpr int NormalColorMap = 32874;
inline constexpr int NominalVoltageColorMap = 32875;
inline constexpr int LoadingColorMap = 32878;
inline constexpr int VoltageLevelColorMap = 32879;

// The studies: three commands solve the power flow.
inline constexpr int SolvePowerFlow = 32784;
inline constexpr int SolveProblem = 32787;
inline constexpr int SolveLoadFlow = 32832;
inline constexpr int PvCurves = 32830;
inline constexpr int TransferCapability = 32836;
inline constexpr int SupplementaryMotionSensitivity = 32844;
inline constexpr int BusSensitivityFactors = 32845;
inline constexpr int PowerTransferDistributionFactors = 32851;

// The results.
inline constexpr int GenerateGraphFromFile = 32831;
inline constexpr int ShowResultsInTable = 32821;
inline constexpr int PreviewResults = 32834;
inline constexpr int SaveResultsToDatabase = 32864;
inline constexpr int DeleteResultsFromDatabase = 32865;
inline constexpr int CompareResults = 32866;

inline constexpr int ViewMessages = 32884;
inline constexpr int ViewColorMapLegend = 32918;

// The diagram's drawing tools, in the order of the "Tools" palette.
inline constexpr int ToolBusVertical = 32771;
inline constexpr int ToolLine = 32772;
inline constexpr int ToolGenerator = 32773;
inline constexpr int ToolLoad = 32774;
inline constexpr int ToolShunt = 32775;
inline constexpr int ToolSelection = 32776;
inline constexpr int ToolFixedTapTransformer = 32789;
inline constexpr int ToolSvc = 32790;
inline constexpr int ToolRegulatingTransformer = 32792;
inline constexpr int ToolCondenser = 32794;
inline constexpr int ToolSynchronousCompensator = 32795;
inline constexpr int ToolReactor = 32796;
inline constexpr int ToolFreeDashedLine = 32802;
inline constexpr int ToolFreeText = 32803;
inline constexpr int ToolArrowedLine = 32804;
inline constexpr int ToolBusHorizontal = 32805;
inline constexpr int ToolCapacitorBank = 32806;
inline constexpr int ToolReactorBank = 32807;
inline constexpr int ToolConnectionNode = 32808;
inline constexpr int ToolConnector = 32809;
inline constexpr int ToolCircuitBreaker = 32810;
inline constexpr int ToolDisconnector = 32811;
inline constexpr int ToolNetwork = 32813;
inline constexpr int ToolFuse = 32814;
inline constexpr int ToolMoveAll = 32815;
inline constexpr int ToolPolygon = 32816;
inline constexpr int ToolNodeMover = 32817;
inline constexpr int ToolSystemInfo = 32818;
inline constexpr int ToolGrounder = 32819;

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
