#include "view/text_geometry.h"

#include "model/table_page.h"
#include "text/sentence.h"
#include "text/text_obj.h"
#include "text/text_row.h"
#include "view/table_view.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace mirel {

namespace {

// x of a byte offset inside a row, relative to the object (0.1 mm).
int XInRow(const CTextRow& row, int local)
{
    int at = 0;
    const int n = row.SentenceCount();
    for (int i = 0; i < n; ++i) {
        const CSentence& s = *row.GetSentence(i);
        const int len = s.GetTextLength();
        if (local <= at + len || i == n - 1)
            return row.GetRect().left + s.GetRect().left + s.GetCaretX(std::clamp(local - at, 0, len));
        at += len;
    }
    return row.GetRect().left;
}

Rect ToGrid(const CTableView& view, const CTablePage* page, const Rect& doc)
{
    const Point a = view.PageToGrid({ doc.left, doc.top }, page);
    const Point b = view.PageToGrid({ doc.right, doc.bottom }, page);
    return { a.x, a.y, b.x, b.y };
}

} // namespace

const CSentence* SentenceAt(const FlowPlace& place)
{
    if (!place.obj)
        return nullptr;
    const CTextRow* row = place.obj->GetRow(place.pos.row);
    return row ? row->GetSentence(place.pos.sentence) : nullptr;
}

int OffsetInSentence(const FlowPlace& place)
{
    return place.pos.offset;
}

FlowPlace CaretPlace(const BodyFlow& flow, int offset, bool atRowStart)
{
    FlowPlace place = flow.Place(offset);
    if (!place.obj || !atRowStart)
        return place;
    const CTextRow* row = place.obj->GetRow(place.pos.row);
    if (!row)
        return place;
    const bool atEnd = place.pos.sentence >= row->SentenceCount() - 1
        && (row->SentenceCount() == 0 || place.pos.offset >= row->GetSentence(place.pos.sentence)->GetTextLength());
    if (atEnd && place.pos.row + 1 < place.obj->RowCount() && !place.obj->GetRow(place.pos.row + 1)->StartsParagraph())
        place.pos = { place.pos.row + 1, 0, 0 };
    return place;
}

bool CaretGridRect(const CTableView& view, const BodyFlow& flow, int offset, bool atRowStart, Rect& out)
{
    const FlowPlace place = CaretPlace(flow, offset, atRowStart);
    if (!place.obj || place.obj->RowCount() == 0)
        return false;
    const CTextRow* row = place.obj->GetRow(place.pos.row);
    if (!row)
        return false;
    int local = 0;
    for (int i = 0; i < place.pos.sentence && i < row->SentenceCount(); ++i)
        local += row->GetSentence(i)->GetTextLength();
    const Rect abs = place.obj->GetPageRect();
    const int x = abs.left + XInRow(*row, local + place.pos.offset);
    const Rect rr = row->GetRect();
    out = ToGrid(view, place.obj->GetPage(), { x, abs.top + rr.top, x, abs.top + rr.bottom });
    out.right = out.left + 1;
    return true;
}

TextPosition HitInObject(const CTextObj& obj, int x, int y)
{
    const int rows = obj.RowCount();
    if (rows == 0)
        return {};
    int r = 0;
    while (r < rows - 1 && obj.GetRow(r)->GetRect().bottom <= y)
        ++r;
    const CTextRow& row = *obj.GetRow(r);
    const int n = row.SentenceCount();
    if (n == 0)
        return { r, 0, 0 };
    const int rx = x - row.GetRect().left;
    int s = 0;
    while (s < n - 1 && row.GetSentence(s)->GetRect().right <= rx)
        ++s;
    const CSentence& sen = *row.GetSentence(s);
    return { r, s, sen.HitTest(rx - sen.GetRect().left) };
}

int HitFlow(const CTableView& view, const BodyFlow& flow, Point gridPoint, bool nearest)
{
    const CTablePage* page = view.PageAt(gridPoint.x, gridPoint.y);
    if (!page && nearest)
        page = view.GetCurrentPage();
    if (!page)
        return -1;
    const Rect pr = view.PageGridRect(page);
    const Point doc = view.PixelsToDoc(Point { gridPoint.x - pr.left, gridPoint.y - pr.top });
    const CTextObj* hit = nullptr;
    long long best = LLONG_MAX;
    for (const auto& col : page->TextColumns()) {
        const Rect r = col->GetPageRect();
        if (r.Contains(doc)) {
            hit = col.get();
            break;
        }
        if (nearest) {
            const long long dx = doc.x < r.left ? r.left - doc.x : doc.x >= r.right ? doc.x - r.right : 0;
            const long long dy = doc.y < r.top ? r.top - doc.y : doc.y >= r.bottom ? doc.y - r.bottom : 0;
            if (dx + dy < best) {
                best = dx + dy;
                hit = col.get();
            }
        }
    }
    const int index = hit ? flow.IndexOf(hit) : -1;
    if (index < 0)
        return -1;
    const Rect r = hit->GetPageRect();
    return flow.Offset(index, HitInObject(*hit, doc.x - r.left, doc.y - r.top));
}

int VerticalNeighbour(const BodyFlow& flow, int offset, bool atRowStart, bool down)
{
    const FlowPlace place = CaretPlace(flow, offset, atRowStart);
    if (!place.obj || place.obj->RowCount() == 0)
        return -1;
    const CTextRow* row = place.obj->GetRow(place.pos.row);
    int local = 0;
    for (int i = 0; i < place.pos.sentence && i < row->SentenceCount(); ++i)
        local += row->GetSentence(i)->GetTextLength();
    const int x = XInRow(*row, local + place.pos.offset);
    // The row above or below, across to the neighbouring object of the flow.
    int index = place.index;
    int r = place.pos.row + (down ? 1 : -1);
    const auto& objects = flow.Objects();
    while (r < 0 || r >= objects[index]->RowCount()) {
        index += down ? 1 : -1;
        if (index < 0 || index >= static_cast<int>(objects.size()))
            return -1;
        r = down ? 0 : objects[index]->RowCount() - 1;
    }
    const CTextObj& obj = *objects[index];
    const Rect rr = obj.GetRow(r)->GetRect();
    return flow.Offset(index, HitInObject(obj, x, rr.top + rr.Height() / 2));
}

std::vector<Rect> SelectionGridRects(const CTableView& view, const BodyFlow& flow, int from, int to)
{
    std::vector<Rect> out;
    const auto& objects = flow.Objects();
    const auto& visible = view.VisiblePages();
    for (int i = 0; i < static_cast<int>(objects.size()); ++i) {
        int at = flow.ObjectStart(i);
        if (at >= to)
            break;
        if (flow.ObjectStart(i + 1) <= from)
            continue;
        const CTextObj& obj = *objects[i];
        if (std::find(visible.begin(), visible.end(), obj.GetPage()) == visible.end())
            continue;
        const Rect abs = obj.GetPageRect();
        for (const auto& row : obj.Rows()) {
            const int len = row->TextLength();
            if (at + len > from && at < to) {
                const int x1 = XInRow(*row, std::max(from, at) - at);
                const int x2 = XInRow(*row, std::min(to, at + len) - at);
                const Rect rr = row->GetRect();
                out.push_back(ToGrid(view, obj.GetPage(),
                    { abs.left + x1, abs.top + rr.top, abs.left + std::max(x2, x1 + 5), abs.top + rr.bottom }));
            }
            at += len;
            if (at >= to)
                break;
        }
    }
    return out;
}

} // namespace mirel
