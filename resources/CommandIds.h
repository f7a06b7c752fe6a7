#pragma once

// Command identifiers. Those from 57344 up are the standard commands every desktop
// program of this family has; those from 32776 up are the editor's own.
namespace CommandId {

constexpr int FileNew = 57600;
constexpr int FileOpen = 57601;
constexpr int FileSave = 57603;
constexpr int FileSaveAs = 57604;
constexpr int FilePrintSetup = 57606;
constexpr int FilePrint = 57607;
constexpr int FilePrintPreview = 57609;
constexpr int RecentFile1 = 57616;
constexpr int EditCopy = 57634;
constexpr int EditCut = 57635;
constexpr int EditFind = 57636;
constexpr int EditPaste = 57637;
constexpr int EditReplace = 57641;
constexpr int EditSelectAll = 57642;
constexpr int EditUndo = 57643;
constexpr int AppAbout = 57664;
constexpr int AppExit = 57665;
constexpr int NextPane = 57680;
constexpr int PreviousPane = 57681;
constexpr int ViewToolBar = 59392;
constexpr int ViewStatusBar = 59393;

constexpr int FindNext = 32776;
constexpr int SaveEncoding = 32790;
constexpr int DisplayShiftJis = 32795;
constexpr int DisplayEucJp = 32797;
constexpr int DisplayIso2022Jp = 32799;
constexpr int DisplayUtf8 = 32801;
constexpr int DisplayUtf16Le = 32803;
constexpr int DisplayUtf16Be = 32805;
constexpr int RunPlatex = 32808;
constexpr int RunJbibtex = 32810;
constexpr int RunDviout = 32812;
constexpr int RunDvipsk = 32814;
constexpr int RunDvipdfmx = 32816;
constexpr int RunGsview = 32818;
constexpr int ExternalProgramSettings = 32822;
constexpr int ToggleLineNumbers = 32831;
constexpr int ChangeFont = 32833;
constexpr int NextError = 32837;
constexpr int PreviousError = 32839;
constexpr int ShowPdf = 32835;
constexpr int ToggleSyntaxColor = 32841;

} // namespace CommandId

// The popups of the context-menu resource, by position.
namespace ContextMenuIndex {

constexpr int Editor = 0;
constexpr int Console = 1;

} // namespace ContextMenuIndex

// Status-bar panes.
namespace PaneId {

constexpr int Encoding = 131;

} // namespace PaneId
