#include "view/find_replace.h"

#include "model/work_form.h"
#include "platform/cells.h"
#include "platform/messages.h"
#include "platform/prompt.h"
#include "text/sentence.h"
#include "view/table_view.h"
#include "view/text_flow.h"
#include "view/text_geometry.h"
#include "view/text_tool.h"

#include <string>
#include <vector>

namespace mirel {

namespace {

void ShowDone(int count)
{
    std::string text = Message(41544);
    if (count >= 0)
        text += "\n共替换 " + std::to_string(count) + " 处。";
    ShowComponentMessage(text, PromptIcon::Information);
}

bool SameText(std::string_view a, std::string_view b, bool matchCase)
{
    return a.size() == b.size() && FindCells(a, b, 0, matchCase) == 0;
}

} // namespace

bool FindNext(CTableView& view, CTextTool& tool, std::string_view patternGbk, const FindOptions& options)
{
    CWorkForm* wf = view.GetWorkForm();
    const std::string pattern = ToCells(patternGbk, false);
    if (!wf || pattern.empty())
        return false;
    const BodyFlow flow(*wf);
    const std::string text = flow.Cells(0, flow.Length());
    const size_t from = static_cast<size_t>(tool.SelectionEnd());
    size_t at = FindCells(text, pattern, from, options.matchCase);
    if (at == kNoCell) {
        // Round from the start up to the caret, without asking.
        at = FindCells(text, pattern, 0, options.matchCase);
        if (at != kNoCell && at >= from)
            at = kNoCell;
    }
    if (at == kNoCell)
        return false;
    const int start = static_cast<int>(at);
    tool.Select(view, start, start + static_cast<int>(pattern.size()));
    const FlowPlace place = flow.Place(start + 2);
    if (place.obj && place.obj->GetPage())
        view.SetCurrentPage(place.obj->GetPage(), true);
    tool.UpdateCaret(view);
    view.Invalidate(CTableView::kInvalidateAll);
    return true;
}

bool Replace(CTableView& view, CTextTool& tool, std::string_view patternGbk, std::string_view replacementGbk,
    const FindOptions& options)
{
    CWorkForm* wf = view.GetWorkForm();
    const std::string pattern = ToCells(patternGbk, false);
    if (!wf || pattern.empty())
        return false;
    bool replaced = false;
    if (tool.HasSelection() && SameText(tool.SelectedCells(view), pattern, options.matchCase)) {
        SentenceAttributes attrs = tool.TypingAttributes();
        {
            const BodyFlow flow(*wf);
            if (const CSentence* s = SentenceAt(flow.Place(tool.SelectionStart() + 2)))
                attrs = s->Attributes();
        }
        attrs.emend.reset();
        tool.ReplaceRange(view, tool.SelectionStart(), tool.SelectionEnd(), ToCells(replacementGbk, false), attrs);
        replaced = true;
    }
    if (!FindNext(view, tool, patternGbk, options))
        ShowDone(-1);
    return replaced;
}

int ReplaceAll(CTableView& view, CTextTool& tool, std::string_view patternGbk, std::string_view replacementGbk,
    const FindOptions& options)
{
    CWorkForm* wf = view.GetWorkForm();
    const std::string pattern = ToCells(patternGbk, false);
    if (!wf || pattern.empty())
        return 0;
    BodyFlow flow(*wf);
    const std::string text = flow.Cells(0, flow.Length());
    // Every match of the text as it stands, without overlaps.
    std::vector<int> matches;
    for (size_t at = FindCells(text, pattern, 0, options.matchCase); at != kNoCell;
         at = FindCells(text, pattern, at + pattern.size(), options.matchCase))
        matches.push_back(static_cast<int>(at));
    if (matches.empty()) {
        ShowDone(0);
        return 0;
    }
    const std::string replacement = ToCells(replacementGbk, false);
    const int first = matches.front();
    const int last = matches.back() + static_cast<int>(pattern.size());
    // One range, one undo step: the stretch from the first match to the end
    // of the last, as it was.
    std::vector<FlowRun> runs = flow.Runs(first, last);
    std::vector<FlowRun> rebuilt;
    int cursor = first;
    size_t runIndex = 0;
    int runStart = first;
    // Walk the old runs, copying text between matches and putting the
    // replacement (in the attributes of the match's first cell) in place of
    // each match.
    auto attrsAt = [&](int offset) -> const FlowRun& {
        while (runIndex + 1 < runs.size() && runStart + static_cast<int>(runs[runIndex].cells.size()) <= offset) {
            runStart += static_cast<int>(runs[runIndex].cells.size());
            ++runIndex;
        }
        return runs[runIndex];
    };
    auto copy = [&](int from, int to) {
        // Copies [from, to) of the old text with its runs.
        int s = first;
        for (const FlowRun& r : runs) {
            const int e = s + static_cast<int>(r.cells.size());
            const int a = std::max(s, from);
            const int b = std::min(e, to);
            if (a < b) {
                FlowRun piece { r.cells.substr(static_cast<size_t>(a - s), static_cast<size_t>(b - a)), r.attrs, r.para,
                    r.object };
                const bool mark = piece.cells.size() >= 2 && piece.cells[0] == '\r' && piece.cells[1] == 0;
                if (!rebuilt.empty() && !mark && !piece.object && !rebuilt.back().object
                    && rebuilt.back().attrs.SameFormat(piece.attrs))
                    rebuilt.back().cells += piece.cells;
                else
                    rebuilt.push_back(std::move(piece));
            }
            s = e;
        }
    };
    for (int m : matches) {
        copy(cursor, m);
        if (!replacement.empty()) {
            FlowRun rep { replacement, attrsAt(m).attrs, attrsAt(m).para };
            rep.attrs.emend.reset();
            if (!rebuilt.empty() && !rebuilt.back().object && rebuilt.back().attrs.SameFormat(rep.attrs))
                rebuilt.back().cells += rep.cells;
            else
                rebuilt.push_back(std::move(rep));
        }
        cursor = m + static_cast<int>(pattern.size());
    }
    copy(cursor, last);
    tool.ReplaceWithRuns(view, first, last, rebuilt);
    ShowDone(static_cast<int>(matches.size()));
    return static_cast<int>(matches.size());
}

} // namespace mirel
