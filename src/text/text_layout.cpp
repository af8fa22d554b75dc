#include "text/text_layout.h"

#include "model/table_page.h"
#include "model/view_context.h"
#include "model/work_form.h"
#include "platform/cells.h"
#include "platform/gbk.h"
#include "platform/muldiv.h"
#include "text/break_rules.h"
#include "text/sentence.h"
#include "text/text_measure.h"
#include "text/text_obj.h"
#include "text/text_row.h"

#include <algorithm>
#include <deque>
#include <sstream>

namespace mirel {

namespace {

int g_layoutDepth = 0;

struct LayoutScope {
    LayoutScope() { ++g_layoutDepth; }
    ~LayoutScope() { --g_layoutDepth; }
};

constexpr int kProvisionalRowHeight = 63;   // row height assumed while testing floating objects
constexpr int kBareMarkWidth = 15;          // an empty paragraph's mark, so the caret has room
constexpr int kMinSlotWidth = 20;           // slots left beside objects narrower than this are dropped
constexpr int kMaxPagesAdded = 100000;      // a bound against runaway flows

// What break rules and justification need to know about each cell.
enum CellFlag : uint8_t {
    kSpace = 1,
    kWord = 2,
    kNoStart = 4,
    kNoEnd = 8,
    kMark = 16,
    kObject = 32,
};

// Paragraph attributes as layout uses them: values from files are held to
// what the rules can take (the row keeps the stored values).
ParagraphAttributes Sane(ParagraphAttributes p)
{
    p.lineSpace = std::clamp(p.lineSpace, -500, 20000);
    if (p.alignment < 0 || p.alignment > 4)
        p.alignment = 0;
    if (p.verAlignment < 0 || p.verAlignment > 2)
        p.verAlignment = 2;
    p.firstLineIndent = std::clamp(p.firstLineIndent, -100000, 1000);
    return p;
}

bool IsMarkCell(std::string_view cells, size_t byte)
{
    return byte + 1 < cells.size() && cells[byte] == '\r' && cells[byte + 1] == 0;
}

// ---------------------------------------------------------------- paragraph data

struct RunData {
    SentenceAttributes attrs;
    std::string cells;
    std::unique_ptr<CBasicObj> follow;
    int first = 0;        // index of the run's first cell in the paragraph
    int lineHeight = 0;   // 0.01 mm
    bool single = true;
    int Count() const { return static_cast<int>(cells.size() / 2); }
};

struct Para {
    ParagraphAttributes stored;   // as the rows carry it
    ParagraphAttributes attrs;    // sanitised
    bool marked = false;          // begins with the paragraph mark
    bool indented = false;
    std::vector<RunData> runs;
    SentenceAttributes emptyAttrs;   // for a paragraph without any cell
    int n = 0;
    std::vector<int> adv;          // per cell, 0.01 mm
    std::vector<int> runOf;        // per cell
    std::vector<uint8_t> flags;    // per cell
};

struct Slot {
    int x0 = 0;
    int x1 = 0;
};

struct Piece {
    int run = 0;
    int from = 0;
    int to = 0;
    int slot = 0;
    int x = 0;
    int width = 0;
    int top = 0;
    int height = 0;
};

// Vertical placement of the runs of one row.
struct VItem {
    int senType = 0;
    int lineHeight = 0;   // 0.01 mm
    int top = 0;
    int bottom = 0;
};

// Returns the row's content height; fills tops and bottoms.
int ArrangeItems(std::vector<VItem>& items, int d, int verAlign)
{
    int c = 0;
    for (const VItem& it : items)
        c = std::max(c, (it.lineHeight + 5) / 10);
    for (size_t k = 0; k < items.size(); ++k) {
        VItem& it = items[k];
        const int o = (it.lineHeight + 5) / 10;
        const VItem* prev = k > 0 ? &items[k - 1] : nullptr;
        const bool prevNormal = prev && prev->senType != 1 && prev->senType != 2;
        if (it.senType == 1) {
            it.top = d;
            if (prevNormal)
                it.top = std::max(0, prev->top - (it.lineHeight + 5) / 40);
        } else if (it.senType == 2) {
            const int t = (2 * o) / 3;
            it.top = prevNormal ? prev->bottom - t : c + d - t;
        } else {
            switch (verAlign) {
            case 0: it.top = d; break;
            case 1: it.top = d + (c - o) / 2; break;
            default: it.top = c + d - o; break;
            }
        }
        it.bottom = it.top + o;
    }
    return c;
}

// ---------------------------------------------------------------- columns

struct Obstacle {
    Rect r;   // relative to the text object, wrap distances included
    int mode = 0;
};

struct Column {
    CTextObj* obj = nullptr;
    int width = 0;
    int height = 0;
    int left = 0;
    int top = 0;
    int right = 0;
    int H = 2;
    int limit = 0;
    bool fresh = false;   // made by this layout: its rows hold no text
    bool obstaclesKnown = false;
    std::vector<Obstacle> obstacles;
};

Column MakeColumn(CTextObj* obj)
{
    Column c;
    c.obj = obj;
    const Rect r = obj->GetRect();
    const TextObjAttributes& a = obj->TextAttributes();
    c.width = r.Width();
    c.height = r.Height();
    c.left = std::clamp(a.leftMargin, -100000, 100000);
    c.top = std::clamp(a.topMargin, -100000, 100000);
    c.right = std::clamp(a.rightMargin, -100000, 100000);
    c.H = std::max(2, c.width - c.left - c.right);
    c.limit = c.height - c.top;
    return c;
}

const std::vector<Obstacle>& Obstacles(Column& c)
{
    if (c.obstaclesKnown)
        return c.obstacles;
    c.obstaclesKnown = true;
    const CTextObj* obj = c.obj;
    const CTablePage* page = obj->GetPage();
    if (obj->GetParent() || obj->IsTableCell() || !page)
        return c.obstacles;
    const Rect self = obj->GetPageRect();
    for (const auto& o : page->Objects()) {
        if (o.get() == obj || o->GetWrapType() == 0)
            continue;
        Rect r = o->GetPageRect().Offset(-self.left, -self.top);
        const Rect m = o->GetWrapMargins();
        r.left -= std::clamp(m.left, 0, 1000);
        r.top -= std::clamp(m.top, 0, 1000);
        r.right += std::clamp(m.right, 0, 1000);
        r.bottom += std::clamp(m.bottom, 0, 1000);
        c.obstacles.push_back({r, o->GetWrapType()});
    }
    return c.obstacles;
}

// Whether a row carries anything. A row with width has something placed in
// it, which answers without touching its sentences: shifting the rows of
// hundreds of pages then reads only the rows themselves.
bool HasContent(const CTextRow& row)
{
    return row.GetRight() > row.GetLeft() || row.HasText();
}

bool SameGeometry(const Column& a, const Column& b)
{
    return a.width == b.width && a.left == b.left && a.right == b.right;
}

// ---------------------------------------------------------------- the engine

class Engine {
public:
    Engine(std::vector<CTextObj*> chain, bool flow, CWorkForm* wf) : flow_(flow), wf_(wf)
    {
        for (CTextObj* obj : chain)
            cols_.push_back(MakeColumn(obj));
    }

    LayoutStats Run(int startCol, int startRow);
    // The columns the last run laid out (for invalidation).
    int FirstTouched() const { return firstTouched_; }
    int LastTouched() const { return lastTouched_; }
    std::vector<CTextObj*> Chain() const
    {
        std::vector<CTextObj*> out;
        for (const Column& c : cols_)
            out.push_back(c.obj);
        return out;
    }

private:
    struct Queued {
        std::unique_ptr<CTextRow> row;
        int col = 0;
        bool wasFirst = false;
    };

    bool LoadNext();
    void LoadColumn(int c);
    bool CanStop(const Queued& q) const;
    bool TryShift();
    void PlaceShifted(int height);
    void Gather(Para& p);
    bool AddRow(Para& p, Queued& q);
    void AddText(Para& p, const SentenceAttributes& attrs, std::string cells);
    void AddRun(Para& p, const SentenceAttributes& attrs, std::string cells, std::unique_ptr<CBasicObj> follow);
    void Prepare(Para& p);
    void Build(Para& p);
    int BuildRow(Para& p, int start, bool first);
    bool PlaceRow(Column& c, int& top, std::vector<Slot>& slotList, bool& shaped);
    int Fill(const Para& p, int start, const std::vector<Slot>& slotList, int limit, std::vector<Piece>& pieces) const;
    int BreakRules(const Para& p, int start, int end, const std::vector<Piece>& pieces) const;
    void FinishPieces(const Para& p, std::vector<Piece>& pieces, const std::vector<Slot>& slotList, bool broken) const;
    void Justify(const Para& p, std::vector<Piece>& pieces, const std::vector<Slot>& slotList, bool broken) const;
    bool Stretchable(const Para& p, const std::vector<Piece>& pieces, size_t k) const;
    bool AdvanceColumn();
    void Restore();
    void AddEmptyRow(int c);
    void RemoveTrailingPages();
    int LineSpaceHere(int lineSpace) const { return (flow_ && !colHasRows_) ? 0 : lineSpace; }

    bool flow_;
    CWorkForm* wf_;
    std::vector<Column> cols_;
    std::deque<Queued> queue_;
    int loaded_ = -1;
    int col_ = 0;
    int y_ = 0;
    bool colHasRows_ = false;
    bool atChainStart_ = false;
    int firstTouched_ = 0;
    int lastTouched_ = 0;
    LayoutStats stats_;
};

// ---------------------------------------------------------------- source rows

void Engine::LoadColumn(int c)
{
    std::vector<std::unique_ptr<CTextRow>> rows = cols_[c].obj->TakeAllRows();
    loaded_ = c;
    if (cols_[c].fresh)
        return;   // the empty row every new column starts with
    for (size_t i = 0; i < rows.size(); ++i)
        queue_.push_back({std::move(rows[i]), c, i == 0});
}

bool Engine::LoadNext()
{
    if (loaded_ + 1 >= static_cast<int>(cols_.size()))
        return false;
    LoadColumn(loaded_ + 1);
    return true;
}

// An unchanged row that would stand exactly where it stands: nothing after
// it can change.
bool Engine::CanStop(const Queued& q) const
{
    return !q.row->NeedsLayout() && q.col == col_ && q.row->GetTop() == y_ && q.wasFirst == !colHasRows_;
}

// Moves an unchanged row to its new place without breaking it again, when
// the place has the same width and nothing to flow around.
bool Engine::TryShift()
{
    Queued& q = queue_.front();
    CTextRow* row = q.row.get();
    if (row->NeedsLayout() || (row->flag & CTextRow::kShapedByWrap) || row->SentenceCount() == 0)
        return false;
    // A row without text (an empty column's row) is not moved into the
    // text: gathering drops it.
    if (!HasContent(*row))
        return false;
    auto placeable = [&] { return SameGeometry(cols_[q.col], cols_[col_]) && Obstacles(cols_[col_]).empty(); };
    if (!placeable())
        return false;
    // A row that keeps its line space (it opens a column before and after,
    // or it does not either time) keeps its height and its sentences their
    // places inside it: only the row moves. This is what makes an edit on
    // page 1 cheap for the hundreds of pages after it.
    const int height = row->GetBottom() - row->GetTop();
    const bool sameLineSpace = !flow_ || q.wasFirst == !colHasRows_;
    if (sameLineSpace && !(flow_ && colHasRows_ && y_ + height > cols_[col_].limit)) {
        PlaceShifted(height);
        return true;
    }
    const ParagraphAttributes para = Sane(row->Paragraph());
    std::vector<VItem> items;
    items.reserve(row->Sentences().size());
    for (const auto& s : row->Sentences()) {
        // As a rebuilt row measures them.
        if (const CBasicObj* follow = s->FollowObj())
            items.push_back({0, InlineObjectHeight(*follow) * 10});
        else
            items.push_back({s->GetScriptType(), RunSize(s->Attributes())});
    }
    int d = LineSpaceHere(para.lineSpace);
    int c = ArrangeItems(items, d, para.verAlignment);
    if (flow_ && colHasRows_ && y_ + d + c > cols_[col_].limit) {
        if (AdvanceColumn()) {
            if (!placeable())
                return false;   // broken again at the top of the new column
            d = LineSpaceHere(para.lineSpace);
            c = ArrangeItems(items, d, para.verAlignment);
        }
    }
    for (size_t k = 0; k < items.size(); ++k) {
        CSentence* s = row->GetSentence(static_cast<int>(k));
        const Rect r = s->GetRect();
        s->SetRectDirect(r.left, items[k].top, r.right, items[k].bottom);
    }
    PlaceShifted(d + c);
    return true;
}

// Puts the row at the head of the queue at the current place with the
// given height, at the end of the current column.
void Engine::PlaceShifted(int height)
{
    std::unique_ptr<CTextRow> row = std::move(queue_.front().row);
    queue_.pop_front();
    const Rect r = row->GetRect();
    row->SetRectDirect(r.left, y_, r.right, y_ + height);
    y_ += height;
    colHasRows_ = true;
    cols_[col_].obj->InsertRow(cols_[col_].obj->RowCount(), std::move(row));
    ++stats_.rowsShifted;
}

// Puts the rows not reached back where they were.
void Engine::Restore()
{
    for (Queued& q : queue_)
        cols_[q.col].obj->InsertRow(cols_[q.col].obj->RowCount(), std::move(q.row));
    queue_.clear();
}

// ---------------------------------------------------------------- gathering a paragraph

void Engine::Gather(Para& p)
{
    Queued q = std::move(queue_.front());
    queue_.pop_front();
    p.stored = q.row->Paragraph();
    const bool chainStart = atChainStart_;
    atChainStart_ = false;
    bool open = AddRow(p, q);
    while (open) {
        if (queue_.empty()) {
            if (!LoadNext())
                break;
            continue;
        }
        if (queue_.front().row->StartsParagraph())
            break;
        q = std::move(queue_.front());
        queue_.pop_front();
        open = AddRow(p, q);
    }
    p.attrs = Sane(p.stored);
    p.indented = p.marked || chainStart;
    Prepare(p);
}

// Adds a row's sentences; false when a paragraph mark inside it ended the
// paragraph (the rest goes back to the queue as a row of its own).
bool Engine::AddRow(Para& p, Queued& q)
{
    std::vector<std::unique_ptr<CSentence>> sentences = q.row->TakeAllSentences();
    for (size_t k = 0; k < sentences.size(); ++k) {
        CSentence& s = *sentences[k];
        if (s.FollowObj()) {
            AddRun(p, s.Attributes(), std::string("\x16\0", 2), s.TakeFollowObj());
            continue;
        }
        std::string text = s.GetText();
        if (text.size() % 2)
            text.push_back('\0');
        // A single-byte cell is its byte and a 0.
        for (size_t i = 0; i + 1 < text.size(); i += 2)
            if (static_cast<unsigned char>(text[i]) < 0x80)
                text[i + 1] = 0;
        if (text.empty()) {
            if (p.runs.empty())
                p.emptyAttrs = s.Attributes();
            continue;
        }
        for (size_t i = 0; i < text.size(); i += 2) {
            if (!IsMarkCell(text, i))
                continue;
            if (i == 0 && p.n == 0) {
                // The paragraph's own mark (after rows or runs without cells).
                p.marked = true;
                p.stored = q.row->Paragraph();
                continue;
            }
            // A mark inside the paragraph starts the next one.
            AddText(p, s.Attributes(), text.substr(0, i));
            auto rest = std::make_unique<CTextRow>();
            rest->SetParagraph(q.row->Paragraph());
            auto tail = std::make_unique<CSentence>();
            tail->SetAttributes(s.Attributes());
            tail->SetText(text.substr(i));
            rest->InsertSentence(0, std::move(tail));
            for (size_t m = k + 1; m < sentences.size(); ++m)
                rest->InsertSentence(rest->SentenceCount(), std::move(sentences[m]));
            queue_.push_front({std::move(rest), q.col, false});
            return false;
        }
        AddText(p, s.Attributes(), std::move(text));
    }
    return true;
}

// Splits text into runs of one class: double-byte cells on one side,
// printable single-byte cells on the other; control cells go with either.
void Engine::AddText(Para& p, const SentenceAttributes& attrs, std::string cells)
{
    if (cells.empty())
        return;
    int cls = -1;
    size_t from = 0;
    for (size_t i = 0; i + 1 < cells.size(); i += 2) {
        const auto b = static_cast<unsigned char>(cells[i]);
        const int c = b >= 0x80 ? 1 : (b >= 0x20 ? 0 : -1);
        if (c < 0)
            continue;
        if (cls >= 0 && c != cls) {
            AddRun(p, attrs, cells.substr(from, i - from), nullptr);
            from = i;
        }
        cls = c;
    }
    AddRun(p, attrs, from == 0 ? std::move(cells) : cells.substr(from), nullptr);
}

void Engine::AddRun(Para& p, const SentenceAttributes& attrs, std::string cells, std::unique_ptr<CBasicObj> follow)
{
    const int count = static_cast<int>(cells.size() / 2);
    if (!p.runs.empty() && !follow) {
        RunData& prev = p.runs.back();
        if (!prev.follow) {
            const bool bareMark = prev.cells.size() == 2 && IsMarkCell(prev.cells, 0);
            const auto hasText = [](const std::string& c) { return c.size() > (IsMarkCell(c, 0) ? 2u : 0u); };
            if (bareMark) {
                // A bare paragraph mark takes the attributes of the text after it.
                prev.attrs = attrs;
                prev.cells += cells;
                p.n += count;
                return;
            }
            if (prev.attrs.SameFormat(attrs) &&
                (!hasText(prev.cells) || !hasText(cells) || IsSingleByteText(prev.cells) == IsSingleByteText(cells))) {
                prev.cells += cells;
                p.n += count;
                return;
            }
        }
    }
    RunData r;
    r.attrs = attrs;
    r.cells = std::move(cells);
    r.follow = std::move(follow);
    p.runs.push_back(std::move(r));
    p.n += count;
}

void Engine::Prepare(Para& p)
{
    p.adv.assign(p.n, 0);
    p.runOf.assign(p.n, 0);
    p.flags.assign(p.n, 0);
    int idx = 0;
    for (size_t r = 0; r < p.runs.size(); ++r) {
        RunData& run = p.runs[r];
        run.first = idx;
        run.single = IsSingleByteText(run.cells);
        run.lineHeight = run.follow ? InlineObjectHeight(*run.follow) * 10 : RunSize(run.attrs);
        const TextMeasure m(run.attrs);
        const bool bareMark = run.cells.size() == 2 && IsMarkCell(run.cells, 0);
        for (int j = 0; j < run.Count(); ++j, ++idx) {
            const auto first = static_cast<unsigned char>(run.cells[2 * j]);
            const auto second = static_cast<unsigned char>(run.cells[2 * j + 1]);
            p.runOf[idx] = static_cast<int>(r);
            uint8_t f = 0;
            if (run.follow) {
                f = kObject;
                p.adv[idx] = InlineObjectWidth(*run.follow) * 10;
            } else {
                p.adv[idx] = m.CellAdvance(first, second);
                if (idx == 0 && p.marked && first == '\r' && second == 0) {
                    f |= kMark;
                    if (bareMark)
                        p.adv[idx] = kBareMarkWidth * 10;
                } else {
                    if (first == 0x20 && second == 0)
                        f |= kSpace;
                    if (IsWordCell(first, second))
                        f |= kWord;
                    if (MayNotStartRow(first, second))
                        f |= kNoStart;
                    if (MayNotEndRow(first, second))
                        f |= kNoEnd;
                }
            }
            p.flags[idx] = f;
        }
    }
}

// ---------------------------------------------------------------- building rows

void Engine::Build(Para& p)
{
    int start = 0;
    bool first = true;
    while (first || start < p.n) {
        start = BuildRow(p, start, first);
        first = false;
    }
}

// The slots of a row at `top` (moved down past objects that leave no
// room); false when a flowing row does not fit the column any more.
bool Engine::PlaceRow(Column& c, int& top, std::vector<Slot>& slotList, bool& shaped)
{
    slotList.assign(1, Slot{0, c.H});
    shaped = false;
    const std::vector<Obstacle>& obstacles = Obstacles(c);
    if (obstacles.empty())
        return true;
    for (int pass = 0; pass < 4 * static_cast<int>(obstacles.size()) + 4; ++pass) {
        // Objects may push a row out of an empty column too; the next page
        // has none of them.
        if (flow_ && top + kProvisionalRowHeight > c.limit && (colHasRows_ || top > y_))
            return false;
        slotList.assign(1, Slot{0, c.H});
        shaped = false;
        int moveTo = top;
        for (const Obstacle& o : obstacles) {
            if (o.r.top >= top + kProvisionalRowHeight || o.r.bottom <= top)
                continue;
            const int ox0 = o.r.left - c.left;
            const int ox1 = o.r.right - c.left;
            if (ox1 <= 0 || ox0 >= c.H)
                continue;
            if (o.mode == 2) {
                moveTo = std::max(moveTo, o.r.bottom);
                continue;
            }
            std::vector<Slot> next;
            for (const Slot& s : slotList) {
                if (ox1 <= s.x0 || ox0 >= s.x1) {
                    next.push_back(s);
                } else if (ox0 <= s.x0 && ox1 >= s.x1) {
                    // covered: the slot goes
                } else if (ox0 > s.x0 && ox1 < s.x1) {
                    const Slot leftPart{s.x0, ox0};
                    const Slot rightPart{ox1, s.x1};
                    switch (o.mode) {
                    case 4: next.push_back(leftPart); break;
                    case 5: next.push_back(rightPart); break;
                    case 3:
                        next.push_back(leftPart.x1 - leftPart.x0 >= rightPart.x1 - rightPart.x0 ? leftPart : rightPart);
                        break;
                    default:
                        next.push_back(leftPart);
                        next.push_back(rightPart);
                        break;
                    }
                } else if (ox0 <= s.x0) {
                    next.push_back({ox1, s.x1});
                } else {
                    next.push_back({s.x0, ox0});
                }
            }
            slotList.swap(next);
            shaped = true;
        }
        std::erase_if(slotList, [](const Slot& s) { return s.x1 - s.x0 < kMinSlotWidth; });
        if (moveTo == top && slotList.empty()) {
            // Objects leave no room anywhere in this band: below the lowest of them.
            for (const Obstacle& o : obstacles)
                if (o.r.top < top + kProvisionalRowHeight && o.r.bottom > top)
                    moveTo = std::max(moveTo, o.r.bottom);
            if (moveTo == top)
                moveTo = top + kProvisionalRowHeight;
        }
        if (moveTo == top)
            return true;
        top = moveTo;
    }
    // Pathological arrangements: give up shaping and use the whole width.
    slotList.assign(1, Slot{0, c.H});
    shaped = false;
    return !(flow_ && (colHasRows_ || top > y_) && top + kProvisionalRowHeight > c.limit);
}

// Streams cells from `start` into the slots; returns the first cell that
// did not fit (or `limit`). A row takes at least one cell besides the mark;
// spaces never overflow (they hang at the end of the row).
int Engine::Fill(const Para& p, int start, const std::vector<Slot>& slotList, int limit,
                 std::vector<Piece>& pieces) const
{
    pieces.clear();
    int i = start;
    bool haveReal = false;
    for (size_t si = 0; si < slotList.size() && i < limit; ++si) {
        const Slot& s = slotList[si];
        const bool lastSlot = si + 1 == slotList.size();
        int x = s.x0;
        int from = i;
        long long sum = 0;
        int run = p.runOf[i];
        const long long end10 = static_cast<long long>(s.x1) * 10;
        while (i < limit) {
            if (p.runOf[i] != run) {
                pieces.push_back({run, from, i, static_cast<int>(si)});
                x += static_cast<int>((sum + 5) / 10);
                from = i;
                sum = 0;
                run = p.runOf[i];
            }
            const int a = p.adv[i];
            if (static_cast<long long>(x) * 10 + sum + a > end10 && !(p.flags[i] & kSpace)) {
                if (haveReal || !lastSlot)
                    break;
            }
            sum += a;
            if (!(p.flags[i] & kMark))
                haveReal = true;
            ++i;
        }
        if (i > from)
            pieces.push_back({run, from, i, static_cast<int>(si)});
    }
    return i;
}

// Word wrap, the line-start and the line-end rules between a full row
// [start, end) and the rest of its paragraph. Never empties the row and
// never moves the paragraph mark or an inline object.
int Engine::BreakRules(const Para& p, int start, int end, const std::vector<Piece>& pieces) const
{
    const int contentStart = start + ((start == 0 && p.marked) ? 1 : 0);
    auto pieceStart = [&](int e) {
        for (const Piece& pc : pieces)
            if (pc.from <= e - 1 && e - 1 < pc.to)
                return pc.from;
        return start;
    };
    auto wordWrap = [&](int e) {
        if (!(p.flags[e - 1] & kWord) || !(p.flags[e] & kWord))
            return e;
        const int ps = pieceStart(e);
        int k = e - 1;
        while (k > ps && (p.flags[k - 1] & kWord))
            --k;
        return k <= contentStart ? e : k;
    };
    auto lineStart = [&](int e) {
        if (!(p.flags[e] & kNoStart) || (p.flags[e - 1] & (kObject | kMark)) || e - 1 <= contentStart)
            return e;
        return e - 1;
    };
    int e = end;
    for (;;) {
        e = wordWrap(e);
        const int moved = lineStart(e);
        if (moved == e)
            break;
        e = moved;
    }
    if ((p.flags[e - 1] & kNoEnd) && e - 1 > contentStart)
        --e;
    return e;
}

// Widths and positions of the pieces: packed from each slot's start; the
// spaces that end a full row count 0.
void Engine::FinishPieces(const Para& p, std::vector<Piece>& pieces, const std::vector<Slot>& slotList,
                          bool broken) const
{
    int slot = -1;
    int x = 0;
    for (size_t k = 0; k < pieces.size(); ++k) {
        Piece& pc = pieces[k];
        if (pc.slot != slot) {
            slot = pc.slot;
            x = slotList[slot].x0;
        }
        int to = pc.to;
        if (broken && k + 1 == pieces.size())
            while (to > pc.from && (p.flags[to - 1] & kSpace))
                --to;
        long long sum = 0;
        for (int i = pc.from; i < to; ++i)
            sum += p.adv[i];
        pc.x = x;
        pc.width = static_cast<int>(std::min<long long>((sum + 5) / 10, 1 << 30));
        x += pc.width;
    }
}

bool Engine::Stretchable(const Para& p, const std::vector<Piece>& pieces, size_t k) const
{
    const Piece& pc = pieces[k];
    const bool hasMark = pc.from < pc.to && (p.flags[pc.from] & kMark);
    const int chars = pc.to - pc.from - (hasMark ? 1 : 0);
    const bool only = pieces.size() == 1;
    const bool last = k + 1 == pieces.size();
    if (chars <= 0)
        return false;
    if (only && hasMark && chars <= 1)
        return false;
    if (chars == 1 && (only || last))
        return false;
    if (last && p.runs[pc.run].single && !p.runs[pc.run].follow) {
        bool space = false;
        for (int i = pc.from; i < pc.to && !space; ++i)
            space = (p.flags[i] & kSpace) != 0;
        if (!space)
            return false;
    }
    return true;
}

// Spreads the free width of each slot over its stretchable runs, in
// proportion to their widths; the shares add up to the free width exactly.
void Engine::Justify(const Para& p, std::vector<Piece>& pieces, const std::vector<Slot>& slotList, bool broken) const
{
    const int align = p.attrs.alignment;
    if (align != 4 && !(align == 3 && broken))
        return;
    std::vector<bool> stretch(pieces.size());
    bool any = false;
    for (size_t k = 0; k < pieces.size(); ++k)
        any |= (stretch[k] = Stretchable(p, pieces, k));
    if (!any)
        return;
    for (size_t g = 0; g < pieces.size();) {
        size_t h = g;
        while (h < pieces.size() && pieces[h].slot == pieces[g].slot)
            ++h;
        const Piece& lastPiece = pieces[h - 1];
        const int free = slotList[lastPiece.slot].x1 - (lastPiece.x + lastPiece.width);
        long long total = 0;
        for (size_t k = g; k < h; ++k)
            if (stretch[k])
                total += pieces[k].width;
        if (free > 0 && total > 0) {
            long long cum = 0;
            int shift = 0;
            for (size_t k = g; k < h; ++k) {
                pieces[k].x += shift;
                if (!stretch[k])
                    continue;
                const int before = static_cast<int>(free * cum / total);
                cum += pieces[k].width;
                const int after = static_cast<int>(free * cum / total);
                pieces[k].width += after - before;
                shift += after - before;
            }
        }
        g = h;
    }
}

int Engine::BuildRow(Para& p, int start, bool first)
{
    std::vector<Slot> slotList;
    std::vector<Piece> pieces;
    const SentenceAttributes& firstAttrs = p.runs.empty() ? p.emptyAttrs : p.runs.front().attrs;
    for (;;) {
        Column& c = cols_[col_];
        int top = y_;
        bool shaped = false;
        if (!PlaceRow(c, top, slotList, shaped)) {
            if (AdvanceColumn())
                continue;
        }
        if (slotList.empty())
            slotList.assign(1, Slot{0, c.H});
        const int indent = (first && p.indented) ? FirstLineIndent(p.attrs, firstAttrs, c.H, c.obj->IsTableCell()) : 0;
        slotList.front().x0 = std::min(std::max(slotList.front().x0, indent), slotList.front().x1);

        int end = start;
        if (p.n > 0) {
            end = Fill(p, start, slotList, p.n, pieces);
            if (end < p.n) {
                const int ruled = BreakRules(p, start, end, pieces);
                if (ruled != end) {
                    end = ruled;
                    Fill(p, start, slotList, end, pieces);
                }
            }
        }
        const bool broken = end < p.n;
        FinishPieces(p, pieces, slotList, broken);
        Justify(p, pieces, slotList, broken);

        std::vector<VItem> items;
        if (pieces.empty()) {
            items.push_back({p.emptyAttrs.senType, RunSize(p.emptyAttrs)});
        } else {
            for (const Piece& pc : pieces) {
                const RunData& run = p.runs[pc.run];
                items.push_back({run.follow ? 0 : run.attrs.senType, run.lineHeight});
            }
        }
        const int d = LineSpaceHere(p.attrs.lineSpace);
        const int contentHeight = ArrangeItems(items, d, p.attrs.verAlignment);
        const int bottom = top + d + contentHeight;
        if (flow_ && colHasRows_ && bottom > c.limit) {
            if (AdvanceColumn())
                continue;
        }

        // The row itself.
        auto row = std::make_unique<CTextRow>();
        row->SetParagraph(p.stored);
        int rowWidth = 0;
        if (pieces.empty()) {
            auto s = std::make_unique<CSentence>();
            s->SetAttributes(p.emptyAttrs);
            s->SetRectDirect(0, items[0].top, 0, items[0].bottom);
            row->InsertSentence(0, std::move(s));
        }
        for (size_t k = 0; k < pieces.size(); ++k) {
            const Piece& pc = pieces[k];
            RunData& run = p.runs[pc.run];
            auto s = std::make_unique<CSentence>();
            s->SetAttributes(run.attrs);
            if (run.follow) {
                CBasicObj* obj = run.follow.get();
                obj->SetRect(0, 0, InlineObjectWidth(*obj), InlineObjectHeight(*obj));
                s->SetFollowObj(std::move(run.follow));
            } else {
                s->SetText(run.cells.substr(static_cast<size_t>(pc.from - run.first) * 2,
                                            static_cast<size_t>(pc.to - pc.from) * 2));
            }
            s->SetRectDirect(pc.x, items[k].top, pc.x + pc.width, items[k].bottom);
            rowWidth = std::max(rowWidth, pc.x + pc.width);
            row->InsertSentence(row->SentenceCount(), std::move(s));
        }
        int left = c.left;
        if (!shaped) {
            if (p.attrs.alignment == 1)
                left = (c.width - rowWidth) / 2;
            else if (p.attrs.alignment == 2)
                left = c.width - c.right - rowWidth;
        }
        row->SetRectDirect(left, top, left + rowWidth, bottom);
        row->flag = (shaped ? CTextRow::kShapedByWrap : 0) | (broken ? CTextRow::kHangingSpaces : 0);
        row->SetNeedsLayout(false);
        c.obj->InsertRow(c.obj->RowCount(), std::move(row));
        y_ = bottom;
        colHasRows_ = true;
        ++stats_.rowsBuilt;
        return end;
    }
}

// ---------------------------------------------------------------- columns and pages

bool Engine::AdvanceColumn()
{
    if (!flow_)
        return false;
    const int next = col_ + 1;
    if (next >= static_cast<int>(cols_.size())) {
        if (!wf_ || stats_.pagesAdded >= kMaxPagesAdded)
            return false;
        CTablePage* page = wf_->AddPage();
        ++stats_.pagesAdded;
        for (const auto& col : page->TextColumns()) {
            cols_.push_back(MakeColumn(col.get()));
            cols_.back().fresh = true;
        }
        if (next >= static_cast<int>(cols_.size()))
            return false;
    }
    if (next > loaded_)
        LoadColumn(next);
    // A column that objects left no room in still holds an (empty) row.
    if (cols_[col_].obj->RowCount() == 0)
        AddEmptyRow(col_);
    col_ = next;
    y_ = cols_[col_].top;
    colHasRows_ = false;
    return true;
}

void Engine::AddEmptyRow(int c)
{
    Column& col = cols_[c];
    const SentenceAttributes attrs = col.obj->TypingAttributes();
    auto row = std::make_unique<CTextRow>();
    row->SetParagraph(col.obj->DefaultParagraph());
    const ParagraphAttributes para = Sane(col.obj->DefaultParagraph());
    std::vector<VItem> items{{attrs.senType, RunSize(attrs)}};
    const int d = flow_ ? 0 : para.lineSpace;
    const int h = ArrangeItems(items, d, para.verAlignment);
    auto s = std::make_unique<CSentence>();
    s->SetAttributes(attrs);
    s->SetRectDirect(0, items[0].top, 0, items[0].bottom);
    row->InsertSentence(0, std::move(s));
    row->SetRectDirect(col.left, col.top, col.left, col.top + d + h);
    row->SetNeedsLayout(false);
    col.obj->InsertRow(col.obj->RowCount(), std::move(row));
}

// Pages after the end of the text that hold nothing else go.
void Engine::RemoveTrailingPages()
{
    if (!flow_ || !wf_)
        return;
    const CTablePage* lastUsed = cols_[col_].obj->GetPage();
    const int keep = std::max(0, wf_->IndexOfPage(lastUsed));
    for (int i = wf_->PageCount() - 1; i > keep; --i) {
        CTablePage* page = wf_->GetPage(i);
        if (!page->Objects().empty())
            break;
        bool empty = true;
        for (const auto& col : page->TextColumns())
            empty = empty && col->IsTextEmpty();
        if (!empty)
            break;
        std::erase_if(cols_, [&](const Column& c) { return c.obj->GetPage() == page; });
        if (!wf_->DeletePage(page, true))
            break;
        ++stats_.pagesRemoved;
    }
}

// ---------------------------------------------------------------- the run

LayoutStats Engine::Run(int startCol, int startRow)
{
    LayoutScope scope;
    col_ = startCol;
    CTextObj* obj = cols_[col_].obj;
    startRow = std::clamp(startRow, 0, obj->RowCount());
    std::vector<std::unique_ptr<CTextRow>> rows = obj->TakeAllRows();
    for (int i = 0; i < startRow; ++i)
        obj->InsertRow(i, std::move(rows[i]));
    for (size_t i = startRow; i < rows.size(); ++i)
        queue_.push_back({std::move(rows[i]), startCol, i == 0});
    loaded_ = startCol;
    y_ = startRow == 0 ? cols_[col_].top : obj->GetRow(startRow - 1)->GetBottom();
    colHasRows_ = startRow > 0;
    atChainStart_ = startCol == 0 && startRow == 0;

    bool first = true;
    bool stopped = false;
    for (;;) {
        if (queue_.empty()) {
            if (!LoadNext())
                break;
            continue;
        }
        if (!first) {
            // A row without any text that begins no paragraph (an empty
            // column's row) adds nothing to the text.
            if (!HasContent(*queue_.front().row) && !queue_.front().row->StartsParagraph()) {
                queue_.pop_front();
                continue;
            }
            if (CanStop(queue_.front())) {
                Restore();
                stopped = true;
                break;
            }
            if (TryShift())
                continue;
        }
        first = false;
        Para p;
        Gather(p);
        Build(p);
    }
    if (!stopped) {
        if (cols_[col_].obj->RowCount() == 0)
            AddEmptyRow(col_);
        for (size_t c = col_ + 1; c < cols_.size(); ++c)
            if (cols_[c].obj->RowCount() == 0)
                AddEmptyRow(static_cast<int>(c));
        RemoveTrailingPages();
    }
    // Columns reached are laid out; rows beyond the stop keep their marks.
    const size_t last = stopped ? static_cast<size_t>(col_) : cols_.size() - 1;
    firstTouched_ = startCol;
    lastTouched_ = static_cast<int>(last);
    for (size_t c = startCol; c <= last && c < cols_.size(); ++c) {
        CTextObj* o = cols_[c].obj;
        o->SetNeedsLayout(false);
        for (int r = 0; r < o->RowCount(); ++r)
            if (o->GetRow(r)->NeedsLayout()) {
                o->MarkRowDirty(r);
                break;
            }
    }
    return stats_;
}

// ---------------------------------------------------------------- driving

// The first place an edit left for layout.
bool FindDirty(const std::vector<CTextObj*>& chain, int& col, int& row)
{
    // An object to be laid out as a whole has every row marked.
    for (CTextObj* obj : chain) {
        if (obj->RowCount() > 0 && !obj->NeedsFullLayout())
            continue;
        for (const auto& r : obj->Rows())
            r->SetNeedsLayout(true);
        obj->SetNeedsLayout(false);
        obj->MarkRowDirty(0);
    }
    for (size_t c = 0; c < chain.size(); ++c) {
        CTextObj* obj = chain[c];
        if (obj->RowCount() == 0) {
            col = static_cast<int>(c);
            row = 0;
            return true;
        }
        const int hint = obj->FirstDirtyRow();
        if (hint < 0)
            continue;
        for (int r = std::max(0, hint); r < obj->RowCount(); ++r) {
            if (obj->GetRow(r)->NeedsLayout()) {
                col = static_cast<int>(c);
                row = r;
                return true;
            }
        }
        obj->SetNeedsLayout(false);
    }
    return false;
}

CWorkForm* BodyWorkForm(const CTextObj& obj)
{
    if (obj.GetFlowIndex() < 0 || obj.GetParent())
        return nullptr;
    const CTablePage* page = obj.GetPage();
    CWorkForm* wf = page ? page->GetWorkForm() : nullptr;
    if (!wf)
        return nullptr;
    for (const auto& col : page->TextColumns())
        if (col.get() == &obj)
            return wf;
    return nullptr;
}

LayoutStats LayoutChain(std::vector<CTextObj*> chain, bool flow, CWorkForm* wf, ViewContext* view, bool everything)
{
    LayoutStats total;
    if (chain.empty())
        return total;
    if (everything)
        for (CTextObj* obj : chain)
            obj->SetNeedsLayout(true);

    // A free object keeps its caret and selection by their offsets.
    CTextObj* single = flow ? nullptr : chain.front();
    int caret = 0, selection = -1, saved = 0;
    if (single) {
        caret = single->PositionToOffset(single->caret);
        saved = single->PositionToOffset(single->savedCaret);
        if (single->selectionStart.row >= 0)
            selection = single->PositionToOffset(single->selectionStart);
    }

    int col = 0, row = 0;
    for (int pass = 0; pass < 100000 && FindDirty(chain, col, row); ++pass) {
        int startCol = col;
        int startRow = row - 1;
        if (startRow < 0) {
            startRow = 0;
            if (flow && col > 0) {
                startCol = col - 1;
                while (startCol > 0 && chain[startCol]->RowCount() == 0)
                    --startCol;
                startRow = std::max(0, chain[startCol]->RowCount() - 1);
            }
        }
        Engine engine(chain, flow, wf);
        total += engine.Run(startCol, startRow);
        chain = flow && wf ? FlowChain(*wf) : engine.Chain();
        if (view) {
            // What moved is shown again (pages added or removed are the
            // view's to count).
            for (int c = engine.FirstTouched(); c <= engine.LastTouched() && c < static_cast<int>(chain.size()); ++c)
                chain[c]->Invalidate(view);
        }
    }

    if (single) {
        single->caret = single->OffsetToPosition(caret);
        single->savedCaret = single->OffsetToPosition(saved);
        if (selection >= 0)
            single->selectionStart = single->OffsetToPosition(selection);
    } else {
        // Body text: the text tool keeps its caret as an offset in the flow;
        // a column's own caret only has to stay a valid place.
        auto valid = [](const CTextObj& obj, const TextPosition& p) {
            const CTextRow* row = obj.GetRow(p.row);
            const CSentence* s = row ? row->GetSentence(p.sentence) : nullptr;
            return s && p.offset >= 0 && p.offset <= s->GetTextLength();
        };
        for (CTextObj* obj : chain)
            if (!valid(*obj, obj->caret))
                obj->caret = {};
    }
    return total;
}

std::string Utf8Cells(std::string_view cells)
{
    std::string out;
    for (size_t i = 0; i + 1 < cells.size(); i += 2) {
        const auto c = static_cast<unsigned char>(cells[i]);
        if (IsMarkCell(cells, i))
            out += "¶";
        else if (c == 0x16)
            out += "[obj]";
        else if (c >= 0x80)
            out += GbkToUtf8(cells.substr(i, 2)).text;
        else if (c >= 0x20 && c != 0x7F)
            out += static_cast<char>(c);
        else
            out += "?";
    }
    return out;
}

}  // namespace

// ---------------------------------------------------------------- public

bool LayoutInProgress()
{
    return g_layoutDepth > 0;
}

int FirstLineIndent(const ParagraphAttributes& para, const SentenceAttributes& firstRun, int availableWidth,
                    bool tableCell)
{
    if (tableCell || para.alignment == 1 || para.alignment == 2)
        return 0;
    const int v = std::clamp(para.firstLineIndent, -100000, 1000);
    const int size = RunSize(firstRun);
    int indent = v < 0 ? -v : (size / 10) * v;
    if (availableWidth - size / 10 < indent)
        indent = availableWidth - size / 10;
    return std::max(0, indent);
}

std::vector<CTextObj*> FlowChain(const CWorkForm& wf)
{
    std::vector<CTextObj*> chain;
    chain.reserve(static_cast<size_t>(wf.PageCount()));
    for (int p = 0; p < wf.PageCount(); ++p)
        for (const auto& col : wf.GetPage(p)->TextColumns())
            chain.push_back(col.get());
    return chain;
}

std::vector<CTextObj*> FlowChain(const CTextObj& obj, int* index)
{
    if (const CWorkForm* wf = BodyWorkForm(obj)) {
        std::vector<CTextObj*> chain = FlowChain(*wf);
        for (size_t i = 0; i < chain.size(); ++i) {
            if (chain[i] == &obj) {
                if (index)
                    *index = static_cast<int>(i);
                return chain;
            }
        }
    }
    if (index)
        *index = 0;
    return {const_cast<CTextObj*>(&obj)};
}

LayoutStats LayoutText(CTextObj& obj, ViewContext* view, bool everything)
{
    if (CWorkForm* wf = BodyWorkForm(obj))
        return LayoutChain(FlowChain(*wf), true, wf, view, everything);
    return LayoutChain({&obj}, false, nullptr, view, everything);
}

LayoutStats LayoutBodyText(CWorkForm& wf, ViewContext* view, bool everything)
{
    return LayoutChain(FlowChain(wf), true, &wf, view, everything);
}

std::string DumpLayout(const CTextObj& obj)
{
    std::ostringstream out;
    for (const auto& row : obj.Rows()) {
        const Rect r = row->GetRect();
        out << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << '|';
        for (const auto& s : row->Sentences()) {
            const Rect sr = s->GetRect();
            out << ' ' << sr.left << '-' << sr.right << '@' << sr.top << " \"" << Utf8Cells(s->GetText()) << "\" |";
        }
        out << '\n';
    }
    return out.str();
}

}  // namespace mirel
