#include "view/undo_actions.h"

#include "model/mirel_data.h"
#include "model/work_form.h"
#include "text/sentence.h"
#include "text/text_edit.h"
#include "text/text_row.h"
#include "view/table_view.h"
#include "view/text_tool.h"

#include <algorithm>

namespace mirel {

namespace {

CWorkForm* WorkFormOf(const UndoManager& manager)
{
    return manager.View() ? manager.View()->GetWorkForm() : nullptr;
}

// After the flow changed: layout, the caret, the screen.
void Finish(UndoManager& manager, BodyFlow& flow, int caret)
{
    CTableView* view = manager.View();
    flow.Relayout(view);
    if (auto* tool = dynamic_cast<CTextTool*>(view->TextTool()))
        tool->AfterUndo(*view, caret);
    else
        view->Invalidate(CTableView::kInvalidateAll);
}

std::vector<UndoSenAttribData> CaptureAttributes(const BodyFlow& flow, int a, int b)
{
    std::vector<UndoSenAttribData> out;
    int at = a;
    for (const FlowRun& run : flow.Runs(a, b)) {
        const int len = static_cast<int>(run.cells.size());
        out.push_back({ at, at + len, run.attrs });
        at += len;
    }
    return out;
}

std::vector<UndoRowAttribData> CaptureParagraphs(const BodyFlow& flow, int a, int b)
{
    std::vector<UndoRowAttribData> out;
    const auto& objects = flow.Objects();
    for (int i = 0; i < static_cast<int>(objects.size()); ++i) {
        int at = flow.ObjectStart(i);
        if (at > b)
            break;
        if (flow.ObjectStart(i + 1) < a)
            continue;
        for (const auto& row : objects[i]->Rows()) {
            const int len = row->TextLength();
            const bool mark = row->StartsParagraph();
            const bool meets = at <= b && at + len >= a;
            if (meets && (mark || out.empty())) {
                const int start = at + (mark ? 2 : 0);
                out.push_back({ start, at + len, row->Paragraph() });
            } else if (meets) {
                out.back().end = at + len;
            }
            at += len;
            if (at > b)
                break;
        }
    }
    return out;
}

} // namespace

// ---------------------------------------------------------------- text range

TextRangeAction::TextRangeAction(int start, int end, std::vector<FlowRun> former)
    : start_(std::min(start, end))
    , end_(std::max(start, end))
    , former_(std::move(former))
{
}

bool TextRangeAction::Execute(UndoManager& manager)
{
    CWorkForm* wf = WorkFormOf(manager);
    if (!wf)
        return false;
    BodyFlow flow(*wf);
    if (flow.Empty() || flow.Clamp(end_) < end_)
        return false;
    std::vector<FlowRun> now = flow.Runs(start_, end_);
    flow.Delete(start_, end_);
    const int end = flow.InsertRuns(start_, former_);
    manager.Record(std::make_unique<TextRangeAction>(start_, end, std::move(now)), InverseMode());
    Finish(manager, flow, end);
    return true;
}

void RecordTextRange(UndoManager& manager, int mode, int start, int end, std::vector<FlowRun> former)
{
    if (start == end && former.empty())
        return;
    manager.Record(std::make_unique<TextRangeAction>(start, end, std::move(former)), mode);
}

// ---------------------------------------------------------------- character attributes

TextAttributesAction::TextAttributesAction(int start, int end, std::vector<UndoSenAttribData> runs)
    : start_(std::min(start, end))
    , end_(std::max(start, end))
    , runs_(std::move(runs))
{
}

bool TextAttributesAction::Execute(UndoManager& manager)
{
    CWorkForm* wf = WorkFormOf(manager);
    if (!wf)
        return false;
    BodyFlow flow(*wf);
    if (flow.Empty() || flow.Clamp(end_) < end_)
        return false;
    manager.Record(
        std::make_unique<TextAttributesAction>(start_, end_, CaptureAttributes(flow, start_, end_)), InverseMode());
    for (const UndoSenAttribData& run : runs_) {
        // A run lies inside one object or is cut at the objects' boundaries.
        for (int i = 0; i < static_cast<int>(flow.Objects().size()); ++i) {
            const int s = flow.ObjectStart(i);
            const int e = flow.ObjectStart(i + 1);
            if (e <= run.start || s >= run.end)
                continue;
            CTextObj& obj = *flow.Objects()[i];
            SetCharAttributes(obj, obj.OffsetToPosition(std::max(run.start, s) - s),
                obj.OffsetToPosition(std::min(run.end, e) - s), run.attrs);
        }
    }
    Finish(manager, flow, end_);
    return true;
}

void RecordTextAttributes(UndoManager& manager, int mode, int a, int b)
{
    CWorkForm* wf = WorkFormOf(manager);
    if (!wf || a == b)
        return;
    const BodyFlow flow(*wf);
    const int start = std::min(a, b);
    const int end = std::max(a, b);
    manager.Record(std::make_unique<TextAttributesAction>(start, end, CaptureAttributes(flow, start, end)), mode);
}

// ---------------------------------------------------------------- paragraph attributes

ParagraphAttributesAction::ParagraphAttributesAction(int start, int end, std::vector<UndoRowAttribData> paragraphs)
    : start_(std::min(start, end))
    , end_(std::max(start, end))
    , paragraphs_(std::move(paragraphs))
{
}

bool ParagraphAttributesAction::Execute(UndoManager& manager)
{
    CWorkForm* wf = WorkFormOf(manager);
    if (!wf)
        return false;
    BodyFlow flow(*wf);
    if (flow.Empty() || flow.Clamp(end_) < end_)
        return false;
    manager.Record(std::make_unique<ParagraphAttributesAction>(start_, end_, CaptureParagraphs(flow, start_, end_)),
        InverseMode());
    for (const UndoRowAttribData& p : paragraphs_) {
        const FlowPlace place = flow.Place(p.start);
        if (!place.obj)
            continue;
        SetParagraphFormat(*place.obj, place.pos, place.pos, kAttrLineSpace, p.para.lineSpace);
        SetParagraphFormat(*place.obj, place.pos, place.pos, kAttrAlignment, p.para.alignment);
        SetParagraphFormat(*place.obj, place.pos, place.pos, kAttrVerAlignment, p.para.verAlignment);
        SetParagraphFormat(*place.obj, place.pos, place.pos, kAttrFirstLineIndent, p.para.firstLineIndent);
    }
    Finish(manager, flow, end_);
    return true;
}

void RecordParagraphAttributes(UndoManager& manager, int mode, int a, int b)
{
    CWorkForm* wf = WorkFormOf(manager);
    if (!wf)
        return;
    const BodyFlow flow(*wf);
    const int start = std::min(a, b);
    const int end = std::max(a, b);
    manager.Record(std::make_unique<ParagraphAttributesAction>(start, end, CaptureParagraphs(flow, start, end)), mode);
}

} // namespace mirel
