#pragma once
// The undo actions of body-text editing. Each holds absolute offsets over
// the flow of the view's work form (view/text_flow.h), never positions, so
// it stays valid across layout.
//  - TextRangeAction: a range and the formatted text it replaced (typing,
//    deleting, Enter, pasting, moving text, replacing);
//  - TextAttributesAction: a range and the character attributes of each
//    run in it (character formatting);
//  - ParagraphAttributesAction: the paragraphs a range touches and their
//    attributes (paragraph formatting).
// Executing one records the current state of the same range first, then
// puts back the held one, lays the flow out, places the text tool's caret
// at the end of the range and invalidates the view.
#include "view/text_flow.h"
#include "view/undo_manager.h"

#include <vector>

namespace mirel {

class TextRangeAction : public UndoAction {
public:
    // [start, end) holds now what `former` held before the edit.
    TextRangeAction(int start, int end, std::vector<FlowRun> former);
    bool Execute(UndoManager& manager) override;
    int Start() const { return start_; }
    int End() const { return end_; }
    const std::vector<FlowRun>& Former() const { return former_; }

private:
    int start_;
    int end_;
    std::vector<FlowRun> former_;
};

// One run's character attributes (start and end as flow offsets).
struct UndoSenAttribData {
    int start = 0;
    int end = 0;
    SentenceAttributes attrs;
};

// One paragraph's attributes; start is the offset just after its mark (or 0).
struct UndoRowAttribData {
    int start = 0;
    int end = 0;
    ParagraphAttributes para;
};

class TextAttributesAction : public UndoAction {
public:
    TextAttributesAction(int start, int end, std::vector<UndoSenAttribData> runs);
    bool Execute(UndoManager& manager) override;

private:
    int start_;
    int end_;
    std::vector<UndoSenAttribData> runs_;
};

class ParagraphAttributesAction : public UndoAction {
public:
    ParagraphAttributesAction(int start, int end, std::vector<UndoRowAttribData> paragraphs);
    bool Execute(UndoManager& manager) override;

private:
    int start_;
    int end_;
    std::vector<UndoRowAttribData> paragraphs_;
};

// The recording operations (offsets in either order; the smaller is the
// start). RecordTextRange takes the former content the caller cut out
// before its edit; the other two read the current state of the range.
void RecordTextRange(UndoManager& manager, int mode, int start, int end, std::vector<FlowRun> former);
void RecordTextAttributes(UndoManager& manager, int mode, int a, int b);
void RecordParagraphAttributes(UndoManager& manager, int mode, int a, int b);

} // namespace mirel
