#include "text/text_edit.h"

#include "model/mirel_data.h"
#include "model/table_page.h"
#include "model/work_form.h"
#include "platform/cells.h"
#include "text/sentence.h"
#include "text/text_frame.h"
#include "text/text_layout.h"
#include "text/text_row.h"

#include <algorithm>

namespace mirel {

namespace {

const std::string kMark("\r\0", 2);

// A boundary between sentences: before sentence `index` of row `row`
// (index == count: the end of the row).
struct Cut {
    int row = 0;
    int index = 0;
};

// Gives an object without rows an empty row, and a row without sentences
// an empty sentence.
void EnsureContent(CTextObj& obj, int rowIndex)
{
    if (obj.RowCount() == 0)
        obj.ResetContent(obj.TypingAttributes());
    CTextRow* row = obj.GetRow(std::clamp(rowIndex, 0, obj.RowCount() - 1));
    if (row->SentenceCount() == 0) {
        row->InsertSentence(0, std::make_unique<CSentence>());
        row->SetNeedsLayout(true);
        obj.MarkRowDirty(std::clamp(rowIndex, 0, obj.RowCount() - 1));
    }
}

void Touch(CTextObj& obj, int row)
{
    if (CTextRow* r = obj.GetRow(row)) {
        r->SetNeedsLayout(true);
        obj.MarkRowDirty(row);
    }
}

// Splits the sentence under a position so that the position is a boundary.
Cut CutAt(CTextObj& obj, TextPosition p)
{
    CTextRow* row = obj.GetRow(p.row);
    CSentence* s = row->GetSentence(p.sentence);
    if (p.offset <= 0)
        return {p.row, p.sentence};
    if (p.offset >= s->GetTextLength())
        return {p.row, p.sentence + 1};
    auto right = std::make_unique<CSentence>();
    right->SetAttributes(s->Attributes());
    right->SetText(s->GetText().substr(p.offset));
    s->SetText(s->GetText().substr(0, p.offset));
    row->InsertSentence(p.sentence + 1, std::move(right));
    return {p.row, p.sentence + 1};
}

// The class text would have in a sentence of its own.
bool SegmentSingle(std::string_view cells)
{
    return cells.empty() || static_cast<unsigned char>(cells[0]) < 0x80;
}

// Can the sentence take text of these attributes and this class?
bool Takes(const CSentence& s, const SentenceAttributes& attrs, bool single)
{
    if (s.FollowObj() || !s.Attributes().SameFormat(attrs))
        return false;
    return s.GetTextLength() == s.TextStart() || s.IsSingleByte() == single;
}

TextPosition InsertRun(CTextObj& obj, TextPosition pos, std::string_view seg, const SentenceAttributes& attrs)
{
    const bool single = SegmentSingle(seg);
    CTextRow* row = obj.GetRow(pos.row);
    CSentence* s = row->GetSentence(pos.sentence);
    int off = pos.offset;
    if (s->StartsParagraph() && off < 2)
        off = 2;
    const int len = static_cast<int>(seg.size());
    Touch(obj, pos.row);

    if (s->IsEmpty()) {
        // An empty sentence takes the text and its attributes.
        s->SetAttributes(attrs);
        s->SetText(std::string(seg));
        return {pos.row, pos.sentence, len};
    }
    if (Takes(*s, attrs, single)) {
        std::string text = s->GetText();
        text.insert(static_cast<size_t>(off), seg);
        s->SetText(std::move(text));
        return {pos.row, pos.sentence, off + len};
    }
    // A neighbour at the boundary may take it.
    if (off == s->GetTextLength()) {
        if (CSentence* next = row->GetSentence(pos.sentence + 1); next && !next->StartsParagraph() &&
                                                                  Takes(*next, attrs, single)) {
            next->SetText(std::string(seg) + next->GetText());
            return {pos.row, pos.sentence + 1, len};
        }
    }
    if (off == 0) {
        if (CSentence* prev = row->GetSentence(pos.sentence - 1); prev && Takes(*prev, attrs, single)) {
            const int at = prev->GetTextLength();
            prev->SetText(prev->GetText() + std::string(seg));
            return {pos.row, pos.sentence - 1, at + len};
        }
    }
    const Cut cut = CutAt(obj, {pos.row, pos.sentence, off});
    auto fresh = std::make_unique<CSentence>();
    fresh->SetAttributes(attrs);
    fresh->SetText(std::string(seg));
    row->InsertSentence(cut.index, std::move(fresh));
    return {pos.row, cut.index, len};
}

TextPosition InsertParagraphBreak(CTextObj& obj, TextPosition pos, const SentenceAttributes& attrs)
{
    CTextRow* row = obj.GetRow(pos.row);
    CSentence* s = row->GetSentence(pos.sentence);
    if (s->StartsParagraph() && pos.offset < 2)
        pos.offset = 2;
    const Cut cut = CutAt(obj, pos);
    auto next = std::make_unique<CTextRow>();
    next->SetParagraph(row->Paragraph());
    while (row->SentenceCount() > cut.index) {
        std::unique_ptr<CSentence> moved = row->TakeSentence(cut.index);
        if (moved->IsEmpty())
            continue;
        next->InsertSentence(next->SentenceCount(), std::move(moved));
    }
    CSentence* head = next->GetSentence(0);
    if (head && !head->FollowObj() && head->Attributes().SameFormat(attrs)) {
        head->SetText(kMark + head->GetText());
    } else {
        auto mark = std::make_unique<CSentence>();
        mark->SetAttributes(attrs);
        mark->SetText(kMark);
        next->InsertSentence(0, std::move(mark));
    }
    if (row->SentenceCount() == 0) {
        auto empty = std::make_unique<CSentence>();
        empty->SetAttributes(attrs);
        row->InsertSentence(0, std::move(empty));
    }
    Touch(obj, pos.row);
    obj.InsertRow(pos.row + 1, std::move(next));
    return {pos.row + 1, 0, 2};
}

// Rows from `first` to `last` (inclusive) of the paragraphs they belong to.
void ParagraphSpan(const CTextObj& obj, int& first, int& last)
{
    while (first > 0 && !obj.GetRow(first)->StartsParagraph())
        --first;
    while (last + 1 < obj.RowCount() && !obj.GetRow(last + 1)->StartsParagraph())
        ++last;
}

int ChainIndex(const std::vector<CTextObj*>& chain, const CTextObj& obj)
{
    for (size_t i = 0; i < chain.size(); ++i)
        if (chain[i] == &obj)
            return static_cast<int>(i);
    return -1;
}

void SetParagraphOfRows(CTextObj& obj, int first, int last, int code, const AttrValue& value)
{
    for (int r = first; r <= last; ++r) {
        CTextRow* row = obj.GetRow(r);
        ParagraphAttributes p = row->Paragraph();
        p.Set(code, value);
        row->SetParagraph(p);
        Touch(obj, r);
    }
}

void LayoutObjectTree(CBasicObj& obj, ViewContext* view)
{
    if (CTextObj* t = DynamicCast<CTextObj>(&obj); t && t->NeedsLayout())
        LayoutText(*t, view);
    for (int i = 0; i < obj.ChildCount(); ++i)
        LayoutObjectTree(*obj.GetChild(i), view);
}

}  // namespace

TextPosition ClampPosition(CTextObj& obj, TextPosition at)
{
    EnsureContent(obj, at.row);
    at.row = std::clamp(at.row, 0, obj.RowCount() - 1);
    const CTextRow* row = obj.GetRow(at.row);
    at.sentence = std::clamp(at.sentence, 0, row->SentenceCount() - 1);
    const int len = row->GetSentence(at.sentence)->GetTextLength();
    at.offset = std::clamp(at.offset, 0, len) & ~1;
    return at;
}

TextPosition InsertCells(CTextObj& obj, TextPosition at, std::string_view cells, const SentenceAttributes& attrs)
{
    TextPosition pos = ClampPosition(obj, at);
    const std::string text = NormaliseCells(cells);
    size_t from = 0;
    int cls = -1;   // class of the pending segment: 1 double-byte, 0 single-byte
    auto flush = [&](size_t to) {
        if (to > from)
            pos = InsertRun(obj, pos, std::string_view(text).substr(from, to - from), attrs);
        from = to;
        cls = -1;
    };
    for (size_t i = 0; i < text.size(); i += 2) {
        if (text[i] == '\r' && text[i + 1] == 0) {
            flush(i);
            pos = InsertParagraphBreak(obj, pos, attrs);
            from = i + 2;
            continue;
        }
        const int c = static_cast<unsigned char>(text[i]) >= 0x80 ? 1 : 0;
        if (cls >= 0 && c != cls)
            flush(i);
        cls = c;
    }
    flush(text.size());
    return pos;
}

TextPosition InsertInlineObject(CTextObj& obj, TextPosition at, std::unique_ptr<CBasicObj>& object,
                                const SentenceAttributes& attrs)
{
    TextPosition pos = ClampPosition(obj, at);
    if (!object)
        return pos;
    CTextRow* row = obj.GetRow(pos.row);
    CSentence* s = row->GetSentence(pos.sentence);
    if (s->StartsParagraph() && pos.offset < 2)
        pos.offset = 2;
    const Cut cut = CutAt(obj, pos);
    auto carrier = std::make_unique<CSentence>();
    carrier->SetAttributes(attrs);
    CSentence* raw = row->InsertSentence(cut.index, std::move(carrier));
    if (std::unique_ptr<CBasicObj> refused = raw->SetFollowObj(std::move(object))) {
        object = std::move(refused);
        row->TakeSentence(cut.index);
        return ClampPosition(obj, at);
    }
    Touch(obj, pos.row);
    return {pos.row, cut.index, 2};
}

TextPosition DeleteRange(CTextObj& obj, TextPosition from, TextPosition to)
{
    from = ClampPosition(obj, from);
    to = ClampPosition(obj, to);
    int a = obj.PositionToOffset(from);
    int b = obj.PositionToOffset(to);
    if (a > b)
        std::swap(a, b);
    if (a == b)
        return obj.OffsetToPosition(a);

    // Cut at the end first: cutting at the start may add a sentence before it.
    const Cut end = CutAt(obj, obj.OffsetToPosition(b));
    const int endRowLength = obj.GetRow(end.row)->SentenceCount();
    const Cut start = CutAt(obj, obj.OffsetToPosition(a));
    Cut stop = end;
    if (start.row == end.row)
        stop.index += obj.GetRow(end.row)->SentenceCount() - endRowLength;

    SentenceAttributes firstAttrs;
    bool haveFirst = false;
    auto takeRange = [&](CTextRow* row, int i0, int i1) {
        for (int i = i1 - 1; i >= i0; --i) {
            std::unique_ptr<CSentence> gone = row->TakeSentence(i);
            if (i == i0 && !haveFirst) {
                firstAttrs = gone->Attributes();
                haveFirst = true;
            }
        }
    };
    CTextRow* first = obj.GetRow(start.row);
    if (start.row == stop.row) {
        takeRange(first, start.index, stop.index);
    } else {
        takeRange(first, start.index, first->SentenceCount());
        for (int r = stop.row - 1; r > start.row; --r)
            obj.TakeRow(r);
        CTextRow* last = obj.GetRow(start.row + 1);
        takeRange(last, 0, stop.index);
        // What is left of the last row continues the first row, unless it
        // begins a paragraph of its own.
        if (last->SentenceCount() == 0 || !last->StartsParagraph()) {
            std::unique_ptr<CTextRow> taken = obj.TakeRow(start.row + 1);
            for (auto& s : taken->TakeAllSentences())
                first->InsertSentence(first->SentenceCount(), std::move(s));
        } else {
            Touch(obj, start.row + 1);
        }
    }
    // The runs that now meet become one again when they can.
    if (start.index > 0 && start.index < first->SentenceCount()) {
        CSentence* before = first->GetSentence(start.index - 1);
        CSentence* after = first->GetSentence(start.index);
        if (!after->StartsParagraph() && Mergeable(*before, *after)) {
            before->SetText(before->GetText() + after->GetText());
            first->TakeSentence(start.index);
        }
    }
    if (first->SentenceCount() == 0) {
        const bool onlyRow = obj.RowCount() == 1;
        const bool nextStartsParagraph = start.row + 1 < obj.RowCount() && obj.GetRow(start.row + 1)->StartsParagraph();
        if (onlyRow || !nextStartsParagraph || start.row == 0) {
            auto empty = std::make_unique<CSentence>();
            if (haveFirst)
                empty->SetAttributes(firstAttrs);
            first->InsertSentence(0, std::move(empty));
        } else {
            obj.TakeRow(start.row);
        }
    }
    Touch(obj, std::min(start.row, obj.RowCount() - 1));
    if (start.row + 1 < obj.RowCount())
        Touch(obj, start.row + 1);
    return ClampPosition(obj, obj.OffsetToPosition(a));
}

std::string GetCells(const CTextObj& obj, TextPosition from, TextPosition to)
{
    int a = obj.PositionToOffset(from);
    int b = obj.PositionToOffset(to);
    if (a > b)
        std::swap(a, b);
    std::string out;
    int at = 0;
    for (const auto& row : obj.Rows()) {
        for (const auto& s : row->Sentences()) {
            const int len = s->GetTextLength();
            const int lo = std::max(a, at);
            const int hi = std::min(b, at + len);
            if (lo < hi)
                out.append(s->GetText(), static_cast<size_t>(lo - at), static_cast<size_t>(hi - lo));
            at += len;
            if (at >= b)
                return out;
        }
    }
    return out;
}

std::string GetAllCells(const CTextObj& obj)
{
    std::string out;
    for (const auto& row : obj.Rows())
        for (const auto& s : row->Sentences())
            out += s->GetText();
    return out;
}

int SetCharFormat(CTextObj& obj, TextPosition from, TextPosition to, int code, const AttrValue& value)
{
    SentenceAttributes probe;
    if (!probe.Set(code, value))
        return 0;
    from = ClampPosition(obj, from);
    to = ClampPosition(obj, to);
    int a = obj.PositionToOffset(from);
    int b = obj.PositionToOffset(to);
    if (a > b)
        std::swap(a, b);
    if (a == b)
        return 1;
    const Cut start = CutAt(obj, obj.OffsetToPosition(a));
    const Cut stop = CutAt(obj, obj.OffsetToPosition(b));
    for (int r = start.row; r <= stop.row; ++r) {
        CTextRow* row = obj.GetRow(r);
        const int i0 = r == start.row ? start.index : 0;
        const int i1 = r == stop.row ? stop.index : row->SentenceCount();
        Touch(obj, r);
        for (int i = i0; i < i1; ++i) {
            // A refused command is refused once, with one message.
            if (code == kAttrAutoCommand) {
                if (!row->GetSentence(i)->SetAutoCommand(nullptr, value.text))
                    return 1;
                continue;
            }
            row->GetSentence(i)->SetFormatByCode(nullptr, code, value);
        }
    }
    return 1;
}

void SetCharAttributes(CTextObj& obj, TextPosition from, TextPosition to, const SentenceAttributes& attrs)
{
    from = ClampPosition(obj, from);
    to = ClampPosition(obj, to);
    int a = obj.PositionToOffset(from);
    int b = obj.PositionToOffset(to);
    if (a > b)
        std::swap(a, b);
    if (a == b)
        return;
    const Cut start = CutAt(obj, obj.OffsetToPosition(a));
    const Cut stop = CutAt(obj, obj.OffsetToPosition(b));
    for (int r = start.row; r <= stop.row; ++r) {
        CTextRow* row = obj.GetRow(r);
        const int i0 = r == start.row ? start.index : 0;
        const int i1 = r == stop.row ? stop.index : row->SentenceCount();
        Touch(obj, r);
        for (int i = i0; i < i1; ++i)
            row->GetSentence(i)->SetAttributes(attrs);
    }
}

int SetParagraphFormat(CTextObj& obj, TextPosition from, TextPosition to, int code, const AttrValue& value)
{
    ParagraphAttributes probe;
    if (!probe.Set(code, value))
        return 0;
    from = ClampPosition(obj, from);
    to = ClampPosition(obj, to);
    int first = std::min(from.row, to.row);
    int last = std::max(from.row, to.row);
    ParagraphSpan(obj, first, last);
    SetParagraphOfRows(obj, first, last, code, value);

    // Body text: a paragraph may begin in an earlier column and go on in later ones.
    int index = 0;
    const std::vector<CTextObj*> chain = FlowChain(obj, &index);
    if (chain.size() > 1 && ChainIndex(chain, obj) >= 0) {
        if (first == 0 && !obj.GetRow(0)->StartsParagraph()) {
            for (int c = index - 1; c >= 0; --c) {
                CTextObj& prev = *chain[c];
                if (prev.RowCount() == 0)
                    continue;
                int f = prev.RowCount() - 1;
                int l = f;
                ParagraphSpan(prev, f, l);
                SetParagraphOfRows(prev, f, l, code, value);
                if (prev.GetRow(f)->StartsParagraph() || f > 0)
                    break;
            }
        }
        if (last == obj.RowCount() - 1) {
            for (size_t c = index + 1; c < chain.size(); ++c) {
                CTextObj& next = *chain[c];
                if (next.RowCount() == 0)
                    continue;
                if (next.GetRow(0)->StartsParagraph())
                    break;
                int f = 0;
                int l = 0;
                ParagraphSpan(next, f, l);
                SetParagraphOfRows(next, f, l, code, value);
                if (l + 1 < next.RowCount())
                    break;
            }
        }
    }
    return 1;
}

int FlowToOffset(const std::vector<CTextObj*>& chain, const FlowPosition& p)
{
    int offset = 0;
    for (int i = 0; i < static_cast<int>(chain.size()) && i < p.object; ++i)
        offset += chain[i]->TextLength();
    if (p.object >= 0 && p.object < static_cast<int>(chain.size()))
        offset += chain[p.object]->PositionToOffset(p.at);
    return offset;
}

FlowPosition OffsetToFlow(const std::vector<CTextObj*>& chain, int offset)
{
    if (chain.empty())
        return {};
    offset = std::max(offset, 0);
    for (int i = 0; i < static_cast<int>(chain.size()); ++i) {
        const int length = chain[i]->TextLength();
        if (offset <= length)
            return {i, chain[i]->OffsetToPosition(offset)};
        offset -= length;
    }
    const int last = static_cast<int>(chain.size()) - 1;
    return {last, chain[last]->EndPosition()};
}

void Relayout(CTextObj& obj, ViewContext* view)
{
    LayoutText(obj, view);
}

void RelayoutAll(CTextObj& obj, ViewContext* view)
{
    LayoutText(obj, view, true);
}

void LayoutPendingText(CWorkForm& wf, ViewContext* view)
{
    bool bodyPending = false;
    for (int p = 0; p < wf.PageCount() && !bodyPending; ++p)
        for (const auto& col : wf.GetPage(p)->TextColumns())
            bodyPending = bodyPending || col->NeedsLayout();
    if (bodyPending)
        LayoutBodyText(wf, view);
    for (int p = 0; p < wf.PageCount(); ++p)
        for (const auto& obj : wf.GetPage(p)->Objects())
            LayoutObjectTree(*obj, view);
    if (CPageHeadFoot* header = wf.GetHeader())
        LayoutObjectTree(*header, view);
    if (CPageHeadFoot* footer = wf.GetFooter())
        LayoutObjectTree(*footer, view);
}

void LayoutPendingText(CMirelData& doc, ViewContext* view)
{
    for (int w = 0; w < doc.WorkFormCount(); ++w)
        LayoutPendingText(*doc.GetWorkForm(w), view);
}

}  // namespace mirel
