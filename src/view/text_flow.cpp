#include "view/text_flow.h"

#include "model/basic_obj.h"
#include "model/work_form.h"
#include "text/sentence.h"
#include "text/text_edit.h"
#include "text/text_layout.h"
#include "text/text_row.h"

#include <algorithm>

namespace mirel {

BodyFlow::BodyFlow(CWorkForm& wf)
    : wf_(&wf)
    , objects_(FlowChain(wf))
{
}

void BodyFlow::Refresh() const
{
    starts_.clear();
}

int BodyFlow::ObjectStart(int index) const
{
    index = std::clamp(index, 0, static_cast<int>(objects_.size()));
    if (starts_.empty())
        starts_.push_back(0);
    while (static_cast<int>(starts_.size()) <= index) {
        const int i = static_cast<int>(starts_.size()) - 1;
        starts_.push_back(starts_.back() + objects_[i]->TextLength());
    }
    return starts_[index];
}

int BodyFlow::Length() const
{
    return ObjectStart(static_cast<int>(objects_.size()));
}

int BodyFlow::Clamp(int offset, int low) const
{
    if (offset <= low)
        return low;
    const int n = static_cast<int>(objects_.size());
    for (int i = 1; i <= n; ++i)
        if (ObjectStart(i) >= offset)
            return offset;
    return std::max(low, ObjectStart(n));
}

FlowPlace BodyFlow::Place(int offset) const
{
    FlowPlace place;
    if (objects_.empty())
        return place;
    offset = std::max(0, offset);
    const int n = static_cast<int>(objects_.size());
    for (int i = 0; i < n; ++i) {
        const int end = ObjectStart(i + 1);
        if (offset <= end || i == n - 1) {
            place.obj = objects_[i];
            place.index = i;
            place.pos
                = offset <= end ? objects_[i]->OffsetToPosition(offset - ObjectStart(i)) : objects_[i]->EndPosition();
            return place;
        }
    }
    return place;
}

int BodyFlow::Offset(int index, TextPosition pos) const
{
    if (index < 0 || index >= static_cast<int>(objects_.size()))
        return 0;
    return ObjectStart(index) + objects_[index]->PositionToOffset(pos);
}

int BodyFlow::IndexOf(const CTextObj* obj) const
{
    const auto it = std::find(objects_.begin(), objects_.end(), obj);
    return it == objects_.end() ? -1 : static_cast<int>(it - objects_.begin());
}

namespace {

// Calls fn(sentence, row, sentenceStart) for every sentence that meets
// [from, to) (offsets over the flow), in order.
template <class Fn> void ForEachSentence(const BodyFlow& flow, int from, int to, Fn&& fn)
{
    const auto& objects = flow.Objects();
    for (int i = 0; i < static_cast<int>(objects.size()); ++i) {
        const int objStart = flow.ObjectStart(i);
        if (objStart >= to)
            break;
        if (flow.ObjectStart(i + 1) <= from)
            continue;
        int at = objStart;
        for (const auto& row : objects[i]->Rows()) {
            for (const auto& s : row->Sentences()) {
                const int len = s->GetTextLength();
                if (at + len > from && at < to)
                    fn(*s, *row, at);
                at += len;
                if (at >= to)
                    return;
            }
        }
    }
}

} // namespace

std::string BodyFlow::Cells(int from, int to) const
{
    std::string out;
    if (from >= to)
        return out;
    ForEachSentence(*this, from, to, [&](const CSentence& s, const CTextRow&, int at) {
        const int a = std::max(from, at) - at;
        const int b = std::min(to, at + s.GetTextLength()) - at;
        out.append(s.GetText(), a, b - a);
    });
    return out;
}

std::vector<FlowRun> BodyFlow::Runs(int from, int to) const
{
    std::vector<FlowRun> runs;
    if (from >= to)
        return runs;
    ForEachSentence(*this, from, to, [&](const CSentence& s, const CTextRow& row, int at) {
        const int a = std::max(from, at) - at;
        const int b = std::min(to, at + s.GetTextLength()) - at;
        const std::string piece = s.GetText().substr(a, b - a);
        const bool startsParagraph = a == 0 && s.StartsParagraph();
        if (s.FollowObj()) {
            runs.push_back(FlowRun {
                piece, s.Attributes(), row.Paragraph(), std::shared_ptr<const CBasicObj>(s.FollowObj()->Clone()) });
            return;
        }
        if (!runs.empty() && !startsParagraph && !runs.back().object && runs.back().attrs.SameFormat(s.Attributes())) {
            runs.back().cells += piece;
            return;
        }
        runs.push_back(FlowRun { piece, s.Attributes(), row.Paragraph() });
    });
    return runs;
}

int BodyFlow::Delete(int from, int to)
{
    if (from > to)
        std::swap(from, to);
    from = std::max(0, from);
    to = Clamp(to);
    if (from >= to)
        return from;
    // From the last object backwards, so that earlier offsets hold.
    for (int i = static_cast<int>(objects_.size()) - 1; i >= 0; --i) {
        const int start = ObjectStart(i);
        const int end = ObjectStart(i + 1);
        if (end <= from || start >= to)
            continue;
        CTextObj& obj = *objects_[i];
        DeleteRange(
            obj, obj.OffsetToPosition(std::max(from, start) - start), obj.OffsetToPosition(std::min(to, end) - start));
    }
    Refresh();
    return from;
}

int BodyFlow::Insert(int at, std::string_view cells, const SentenceAttributes& attrs)
{
    if (objects_.empty() || cells.empty())
        return at;
    const FlowPlace place = Place(at);
    const int before = place.obj->TextLength();
    InsertCells(*place.obj, place.pos, cells, attrs);
    const int added = place.obj->TextLength() - before;
    Refresh();
    return at + added;
}

int BodyFlow::InsertRuns(int at, const std::vector<FlowRun>& runs)
{
    struct Mark {
        int offset;
        ParagraphAttributes para;
    };
    std::vector<Mark> marks;
    for (const FlowRun& run : runs) {
        const bool mark = run.cells.size() >= 2 && run.cells[0] == '\r' && run.cells[1] == 0;
        if (mark)
            marks.push_back({ at + 2, run.para });
        if (run.object) {
            const FlowPlace place = Place(at);
            if (!place.obj)
                continue;
            std::unique_ptr<CBasicObj> copy = run.object->Clone();
            const int before = place.obj->TextLength();
            InsertInlineObject(*place.obj, place.pos, copy, run.attrs);
            at += place.obj->TextLength() - before;
            Refresh();
            continue;
        }
        at = Insert(at, run.cells, run.attrs);
    }
    // Each restored paragraph gets back its own attributes.
    for (const Mark& m : marks) {
        const FlowPlace place = Place(m.offset);
        if (!place.obj)
            continue;
        SetParagraphFormat(*place.obj, place.pos, place.pos, kAttrLineSpace, m.para.lineSpace);
        SetParagraphFormat(*place.obj, place.pos, place.pos, kAttrAlignment, m.para.alignment);
        SetParagraphFormat(*place.obj, place.pos, place.pos, kAttrVerAlignment, m.para.verAlignment);
        SetParagraphFormat(*place.obj, place.pos, place.pos, kAttrFirstLineIndent, m.para.firstLineIndent);
    }
    return at;
}

void BodyFlow::Relayout(ViewContext* view)
{
    if (!objects_.empty())
        LayoutBodyText(*wf_, view);
    objects_ = FlowChain(*wf_);
    Refresh();
}

std::string CellsOf(const std::vector<FlowRun>& runs)
{
    std::string out;
    for (const FlowRun& r : runs)
        out += r.cells;
    return out;
}

} // namespace mirel
