#pragma once
// The text tool's clipboard: formatted text as "Mirel FormatText"
// (application/x-mirel-formattext: an archive stream holding one object
// array of CTextRow, the rows the selection touches cut to the selection)
// together with the same text as plain text.
#include <string>
#include <string_view>

class CTableView;
class CTextTool;
class QMimeData;

namespace mirel {

inline constexpr char kFormatTextMime[] = "application/x-mirel-formattext";

// The archive bytes of the formatted text in [from, to) of the view's flow.
std::string FormatTextBytes(CTableView& view, int from, int to);

bool CopyText(CTableView& view, CTextTool& tool);
bool CutText(CTableView& view, CTextTool& tool);
// Formatted text when the clipboard offers it, else plain text in the
// typing attributes; one undo step. False when nothing was pasted.
bool PasteText(CTableView& view, CTextTool& tool);
bool PasteMimeData(CTableView& view, CTextTool& tool, const QMimeData& data);
bool ClipboardOffersText();

} // namespace mirel
