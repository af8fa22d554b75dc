#pragma once
// Numeric command ids of the frame and the view. The component's menus, its
// context menus and the host interface deliver these same numbers.

namespace mirel::cmd {

// --- frame: documents ---
inline constexpr int kNewDocument = 57600;
inline constexpr int kOpenDocument = 57601;
inline constexpr int kCloseDocument = 57602; // posted to the main window
inline constexpr int kSaveDocument = 57603;
inline constexpr int kSaveDocumentAs = 57604;
inline constexpr int kPrint = 57607;
inline constexpr int kPrintPreview = 57609;
inline constexpr int kExportPageBitmaps = 33131;
inline constexpr int kProtectDocument = 33078;
inline constexpr int kPageSetup = 2873;

// --- frame: work forms ---
inline constexpr int kDeleteWorkForm = 2945;
inline constexpr int kRenameWorkForm = 2946;
inline constexpr int kInsertWorkFormAtEnd = 33357;
inline constexpr int kInsertWorkFormBefore = 33163;
inline constexpr int kInsertWorkFormAfter = 33164;
inline constexpr int kCopyWorkForm = 33227;
inline constexpr int kPasteWorkFormAtEnd = 33228;
inline constexpr int kPasteWorkFormBefore = 33229;
inline constexpr int kPasteWorkFormAfter = 33230;
inline constexpr int kPreviousWorkForm = 33345; // F5
inline constexpr int kNextWorkForm = 33346; // F6
inline constexpr int kSwitchWorkFormFirst = 33306; // + index, up to 30 entries
inline constexpr int kSwitchWorkFormCount = 30;

// --- frame: rulers ---
inline constexpr int kRulerStyleScale = 33282;
inline constexpr int kRulerStyleRowColumn = 33283;
inline constexpr int kRulerStyleTableHeader = 33284;

// --- frame messages ---
inline constexpr int kMessageActivateWorkForm = 33352;
inline constexpr int kMessageInsertWorkForm = 33353;
inline constexpr int kMessageUpdateRuler = 33354;
inline constexpr int kMessageMoveCursorPos = 33355;

// --- view ---
inline constexpr int kCaretToDocumentStart = 33097;
inline constexpr int kCaretToDocumentEnd = 33098;
inline constexpr int kExtendToDocumentStart = 2910;
inline constexpr int kExtendToDocumentEnd = 2911;
inline constexpr int kExtendToLineEnd = 2912;
inline constexpr int kExtendToLineStart = 2913;
inline constexpr int kExtendLeft = 2905;
inline constexpr int kExtendRight = 2906;
inline constexpr int kExtendUp = 2907;
inline constexpr int kExtendDown = 2908;
inline constexpr int kDelete = 57632;
inline constexpr int kCopy = 57634;
inline constexpr int kCut = 57635;
inline constexpr int kPaste = 57637;
inline constexpr int kSelectAll = 57642;
inline constexpr int kUndo = 57643;
inline constexpr int kRedo = 57644;

} // namespace mirel::cmd
