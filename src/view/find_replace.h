#pragma once
// Find and replace in a work form's body text. Pattern and replacement are
// GBK text; the search works on cells (platform/cells.h): a match starts on
// a cell boundary and case folds only in single-byte cells, never inside a
// Chinese character. The search runs from the caret to the end of the flow,
// then from the start up to the caret; a match may span two columns.
#include <string_view>

class CTableView;
class CTextTool;

namespace mirel {

struct FindOptions {
    bool matchCase = false; // 区分大小写
};

// Selects the next match (anchor at its start, caret at its end) and makes
// its page current. False when there is none.
bool FindNext(CTableView& view, CTextTool& tool, std::string_view patternGbk, const FindOptions& options);

// Replaces the selection when it equals the pattern (as the search
// compares), then finds the next match. When none is left, "替换完毕!" is
// shown. Returns true when a replacement was made.
bool Replace(CTableView& view, CTextTool& tool, std::string_view patternGbk, std::string_view replacementGbk,
    const FindOptions& options);

// Replaces every match of the text as it stands (a replacement that
// contains the pattern is not searched again), as one undo step and one
// layout; reports the count with "替换完毕!" and returns it.
int ReplaceAll(CTableView& view, CTextTool& tool, std::string_view patternGbk, std::string_view replacementGbk,
    const FindOptions& options);

} // namespace mirel
