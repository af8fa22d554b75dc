#include "model/basic_obj.h"

#include "model/mirel_data.h"
#include "model/table_page.h"
#include "model/view_context.h"
#include "model/work_form.h"
#include "persist/archive.h"
#include "platform/messages.h"
#include "surface/surface.h"
#include "text/attributes.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdio>

MIREL_IMPLEMENT_CLASS(CBasicObj, nullptr, 2000)

using mirel::Point;
using mirel::Rect;

CBasicObj::~CBasicObj() = default;

void CBasicObj::SerializeBase(mirel::Archive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteRect(rect_);
        ar.WriteI32(lock_);
        ar.WriteI32(noPrint_);
    } else {
        rect_ = ar.ReadRect();
        lock_ = ar.ReadI32();
        noPrint_ = ar.ReadI32();
    }
}

void CBasicObj::Serialize(mirel::Archive& ar)
{
    SerializeBase(ar);
}

// ---------------------------------------------------------------- geometry

void CBasicObj::SetRect(int l, int t, int r, int b)
{
    rect_ = Rect{l, t, r, b}.Normalized();
}

void CBasicObj::SetLeft(int x)
{
    Rect r = GetRect();
    SetRect(x, r.top, r.right, r.bottom);
}
void CBasicObj::SetTop(int y)
{
    Rect r = GetRect();
    SetRect(r.left, y, r.right, r.bottom);
}
void CBasicObj::SetRight(int x)
{
    Rect r = GetRect();
    SetRect(r.left, r.top, x, r.bottom);
}
void CBasicObj::SetBottom(int y)
{
    Rect r = GetRect();
    SetRect(r.left, r.top, r.right, y);
}
void CBasicObj::MoveLeft(int d) { SetLeft(GetRect().left + d); }
void CBasicObj::MoveTop(int d) { SetTop(GetRect().top + d); }
void CBasicObj::MoveRight(int d) { SetRight(GetRect().right + d); }
void CBasicObj::MoveBottom(int d) { SetBottom(GetRect().bottom + d); }

void CBasicObj::OffsetBy(int dx, int dy)
{
    SetRect(GetRect().Offset(dx, dy));
}

Point CBasicObj::GetCenter() const
{
    const Rect b = GetBoundRect();
    return {b.left + (b.right - b.left) / 2, b.top + (b.bottom - b.top) / 2};
}

void CBasicObj::Offset(int dx, int dy)
{
    rect_ = rect_.Offset(dx, dy);
}

void CBasicObj::Normalize()
{
    rect_ = rect_.Normalized();
}

Rect CBasicObj::GetPageRect() const
{
    Rect r = GetBoundRect();
    for (const CBasicObj* p = parent_; p; p = p->GetParent())
        r = r.Offset(p->GetRect().left, p->GetRect().top);
    return r;
}

const CTablePage* TopPage(const CBasicObj* obj)
{
    const CBasicObj* top = obj;
    while (top->GetParent())
        top = top->GetParent();
    if (const CTablePage* page = mirel::DynamicCast<CTablePage>(top))
        return page;
    return top->GetPage();
}

Rect CBasicObj::GetClientRect(const mirel::ViewContext& view) const
{
    const Rect r = view.ToPixels(GetPageRect());
    const Point origin = view.PageOrigin(TopPage(this));
    return r.Offset(origin.x, origin.y);
}

// ---------------------------------------------------------------- handles

bool CBasicObj::GetHandle(int n, Point& p) const
{
    const Rect r = GetRect();
    const int cx = r.left + (r.right - r.left) / 2;
    const int cy = r.top + (r.bottom - r.top) / 2;
    switch (n) {
    case 1: p = {r.left, r.top}; return true;
    case 2: p = {r.left, cy}; return true;
    case 3: p = {r.left, r.bottom}; return true;
    case 4: p = {cx, r.bottom}; return true;
    case 5: p = {r.right, r.bottom}; return true;
    case 6: p = {r.right, cy}; return true;
    case 7: p = {r.right, r.top}; return true;
    case 8: p = {cx, r.top}; return true;
    case 10:
        if (!IsRotatable())
            return false;
        p = {cx, r.top - 50};
        return true;
    default: return false;
    }
}

namespace {
// A handle's point in view pixels.
Point HandlePixel(const CBasicObj& obj, const mirel::ViewContext& view, Point handle)
{
    Point abs = handle;
    for (const CBasicObj* p = obj.GetParent(); p; p = p->GetParent()) {
        abs.x += p->GetRect().left;
        abs.y += p->GetRect().top;
    }
    const Point origin = view.PageOrigin(TopPage(&obj));
    return {origin.x + view.ToPixels(abs.x), origin.y + view.ToPixels(abs.y)};
}
}  // namespace

void CBasicObj::DrawTracker(mirel::ViewContext& view, mirel::Surface& dc, int) const
{
    if (IsButton() && lock_ != 0)
        return;
    for (int n = 1; n <= GetHandleCount(); ++n) {
        Point h;
        if (!GetHandle(n, h))
            continue;
        const Point px = HandlePixel(*this, view, h);
        const mirel::Box box{px.x - 3, px.y - 3, px.x + 4, px.y + 4};
        if (n == 10) {
            const mirel::Pen pen = dc.setPen(mirel::Pen::null());
            const mirel::Brush brush = dc.setBrush(mirel::Brush::solid(0x000000));
            dc.ellipse(box);
            dc.setBrush(brush);
            dc.setPen(pen);
        } else {
            dc.fillRect(box, mirel::Brush::solid(0x000000));
        }
    }
}

int CBasicObj::HitTest(const mirel::ViewContext& view, Point viewPoint, bool handlesOnly) const
{
    if (handlesOnly) {
        for (int n = 1; n <= GetHandleCount(); ++n) {
            Point h;
            if (!GetHandle(n, h))
                continue;
            const Point px = HandlePixel(*this, view, h);
            if (viewPoint.x >= px.x - 3 && viewPoint.x <= px.x + 3 && viewPoint.y >= px.y - 3 &&
                viewPoint.y <= px.y + 3)
                return n;
        }
        return 0;
    }
    // Containment for a class without a test of its own: inside the bound
    // rectangle in view pixels.
    return GetClientRect(view).Contains(viewPoint) ? 1 : 0;
}

bool CBasicObj::IntersectsRect(const Rect& r) const
{
    const Rect n = r.Normalized();
    const Rect b = GetBoundRect();
    return b.left <= n.right && n.left <= b.right && b.top <= n.bottom && n.top <= b.bottom;
}

bool CBasicObj::DocumentProtected(int anyOf) const
{
    const CTablePage* page = TopPage(this);
    const CWorkForm* wf = page ? page->GetWorkForm() : nullptr;
    const CMirelData* doc = wf ? wf->GetDocument() : nullptr;
    if (!doc)
        return false;
    return anyOf == 0 ? doc->GetProtectType() != 0 : doc->GetProtectType() == anyOf;
}

void CBasicObj::MarkModified() const
{
    const CTablePage* page = TopPage(this);
    const CWorkForm* wf = page ? page->GetWorkForm() : nullptr;
    if (CMirelData* doc = wf ? wf->GetDocument() : nullptr)
        doc->SetModified(true);
}

bool CBasicObj::MoveBy(mirel::ViewContext* view, int dx, int dy)
{
    if (lock_ != 0 || DocumentProtected(1))
        return false;
    const CBasicObj* shown = (IsRotatable() && parent_) ? parent_ : this;
    shown->Invalidate(view);
    Offset(dx, dy);
    shown->Invalidate(view);
    MarkModified();
    return true;
}

bool CBasicObj::MoveHandleTo(int handle, Point p, mirel::ViewContext* view)
{
    if (lock_ != 0 || DocumentProtected(0))
        return false;
    Rect r = GetRect();
    switch (handle) {
    case 1: r.left = p.x; r.top = p.y; break;
    case 2: r.left = p.x; break;
    case 3: r.left = p.x; r.bottom = p.y; break;
    case 4: r.bottom = p.y; break;
    case 5: r.right = p.x; r.bottom = p.y; break;
    case 6: r.right = p.x; break;
    case 7: r.right = p.x; r.top = p.y; break;
    case 8: r.top = p.y; break;
    case 10: {
        if (!IsRotatable())
            return false;
        const Point c = GetCenter();
        const double deg = std::atan2(double(c.y - p.y), double(p.x - c.x)) * 1800.0 / 3.14159265358979323846;
        SetAngle(static_cast<int>(std::lround(deg < 0 ? deg + 3600 : deg)));
        Invalidate(view);
        MarkModified();
        return true;
    }
    default: return false;
    }
    Invalidate(view);
    SetRect(r);
    Invalidate(view);
    MarkModified();
    return true;
}

// ---------------------------------------------------------------- copy

std::unique_ptr<CBasicObj> CBasicObj::Clone() const
{
    std::unique_ptr<mirel::CMirelObject> copy = CloneThroughArchive();
    std::unique_ptr<CBasicObj> obj(static_cast<CBasicObj*>(copy.release()));
    obj->CopyFrom(*this);
    return obj;
}

void CBasicObj::CopyFrom(const CBasicObj& o)
{
    rect_ = o.rect_;
    lock_ = o.lock_;
    noPrint_ = o.noPrint_;
    wrapType_ = o.wrapType_;
    wrap_ = o.wrap_;
    aboveText_ = o.aboveText_;
}

// ---------------------------------------------------------------- visibility

bool CBasicObj::IsVisible(const mirel::ViewContext& view, const Rect& clipPixels) const
{
    Rect r = GetClientRect(view);
    if (r.right == r.left)
        ++r.right;
    if (r.bottom == r.top)
        ++r.bottom;
    return r.Inflated(4).Intersects(clipPixels);
}

void CBasicObj::InvalidateRect(mirel::ViewContext* view, const Rect& docRect) const
{
    if (!view)
        return;
    Rect abs = docRect;
    for (const CBasicObj* p = parent_; p; p = p->GetParent())
        abs = abs.Offset(p->GetRect().left, p->GetRect().top);
    const Point origin = view->PageOrigin(TopPage(this));
    Rect px = view->ToPixels(abs).Offset(origin.x, origin.y);
    if (view->IsSelected(this))
        px = px.Inflated(std::max(10, view->ToPixels(50)));
    view->InvalidatePixels(px);
}

void CBasicObj::Invalidate(mirel::ViewContext* view) const
{
    InvalidateRect(view, GetBoundRect());
}

// ---------------------------------------------------------------- info, draw

std::string CBasicObj::GetInfoText() const
{
    const Rect r = GetRect();
    return mirel::FormatMessage(41579, r.left * 0.1, r.top * 0.1, r.Width() * 0.1, r.Height() * 0.1);
}

std::string CBasicObj::GetFaceName() const
{
    return "\xCB\xCE\xCC\xE5";   // 宋体 in GBK
}

int CBasicObj::GetFontHeight() const
{
    return mirel::SizeToHundredthsMm(GetFontSize());
}

void CBasicObj::Draw(mirel::ViewContext& view, mirel::Surface& dc) const
{
    if (view.IsSelected(this) && !view.IsPrinting() && !view.IsPreviewing())
        DrawTracker(view, dc, 0);
}

void CBasicObj::SetFillPicture(mirel::ViewContext*, std::unique_ptr<CImage>)
{
    // An object that cannot be filled drops the picture.
}

void CBasicObj::SetLock(int v)
{
    if (v == -2)
        lock_ = 0;
    else if (lock_ != 2)
        lock_ = v;
}

// ---------------------------------------------------------------- children

bool CBasicObj::ContainsChild(const CBasicObj* obj) const
{
    for (auto it = children_.rbegin(); it != children_.rend(); ++it)
        if (it->get() == obj)
            return true;
    return false;
}

CBasicObj* CBasicObj::GetChild(int i) const
{
    if (i < 0 || i >= static_cast<int>(children_.size()))
        return nullptr;
    return children_[i].get();
}

void CBasicObj::AppendChild(std::unique_ptr<CBasicObj> child)
{
    child->SetParent(this);
    children_.push_back(std::move(child));
}

int CBasicObj::RemoveChild(mirel::ViewContext* view, CBasicObj* obj, bool del, std::unique_ptr<CBasicObj>* released)
{
    for (size_t i = 0; i < children_.size(); ++i) {
        if (children_[i].get() != obj)
            continue;
        Invalidate(view);
        std::unique_ptr<CBasicObj> taken = std::move(children_[i]);
        children_.erase(children_.begin() + i);
        if (!del) {
            assert(released && "a child kept alive needs an owner");
            if (released)
                *released = std::move(taken);
        }
        return static_cast<int>(i);
    }
    return -1;
}

void CBasicObj::RemoveAllChildren()
{
    while (!children_.empty())
        children_.pop_back();   // deleted from the last to the first
}

std::vector<std::unique_ptr<CBasicObj>> CBasicObj::TakeAllChildren()
{
    for (auto& c : children_)
        c->SetParent(nullptr);
    return std::move(children_);
}
