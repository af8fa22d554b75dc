#pragma once
// The body text of a work form seen as one string of cells: absolute
// offsets over the text objects of the flow in flow order, and edits made
// through those offsets. Offsets survive layout, positions do not, so the
// text tool and the undo actions keep offsets and convert when they need a
// place in an object.
#include "text/attributes.h"
#include "text/format_text.h"
#include "text/text_obj.h"

#include <memory>
#include <string>
#include <vector>

class CWorkForm;

namespace mirel {

class ViewContext;

// A place in the flow: the object's index in flow order and the position
// inside it.
struct FlowPlace {
    CTextObj* obj = nullptr;
    int index = -1;
    TextPosition pos;
};

// A formatted piece of text as it is cut out for undo or the clipboard.
using FlowRun = FormatRun;

class BodyFlow {
public:
    explicit BodyFlow(CWorkForm& wf);

    const std::vector<CTextObj*>& Objects() const { return objects_; }
    bool Empty() const { return objects_.empty(); }
    // Offset of the first cell of object `index`.
    int ObjectStart(int index) const;
    int Length() const;
    // `offset` limited to [low, Length()], looking at the objects only as
    // far as the offset reaches: an edit near the start of a long document
    // does not count the cells of every page after it.
    int Clamp(int offset, int low = 0) const;
    // OffsetToFlow: an offset past the end becomes the end; an offset on the
    // boundary of two objects stays at the end of the earlier one.
    FlowPlace Place(int offset) const;
    // FlowToOffset.
    int Offset(int index, TextPosition pos) const;
    int IndexOf(const CTextObj* obj) const;

    std::string Cells(int from, int to) const;
    std::vector<FlowRun> Runs(int from, int to) const;
    // Deletes [from, to); returns from.
    int Delete(int from, int to);
    // Inserts cells with the attributes at `at`; returns the offset after them.
    int Insert(int at, std::string_view cells, const SentenceAttributes& attrs);
    // Inserts runs (paragraph attributes included) at `at`; returns the end.
    int InsertRuns(int at, const std::vector<FlowRun>& runs);
    // Lays out what the edits left pending.
    void Relayout(ViewContext* view);

private:
    void Refresh() const;

    CWorkForm* wf_;
    std::vector<CTextObj*> objects_;
    mutable std::vector<int> starts_; // computed lazily, up to the object asked for
};

// Cell text of a run list, and its length.
std::string CellsOf(const std::vector<FlowRun>& runs);

} // namespace mirel
