#include "model/filled_obj.h"

#include "graphics/image.h"
#include "model/view_context.h"
#include "persist/archive.h"
#include "surface/surface.h"

MIREL_IMPLEMENT_CLASS(CFilledObj, &CBasicObj::kClass, 2000)

CFilledObj::CFilledObj() = default;
CFilledObj::~CFilledObj() = default;

void CFilledObj::SerializeFill(mirel::Archive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteI32(noFill_);
        if (noFill_ == 0) {
            ar.WriteObject(fillPicture_.get());
            ar.WriteU32(fillColor_);
            ar.WriteI32(hatchStyle_);
            ar.WriteU32(hatchColor_);
        }
        return;
    }
    noFill_ = ar.ReadI32();
    if (noFill_ == 0) {
        fillPicture_ = ar.ReadOwned<CImage>();
        if (fillPicture_)
            fillPicture_->SetParent(this);
        fillColor_ = ar.ReadU32();
        hatchStyle_ = ar.ReadI32();
        hatchColor_ = ar.ReadU32();
    }
}

void CFilledObj::Serialize(mirel::Archive& ar)
{
    SerializeBase(ar);
    SerializeFill(ar);
}

void CFilledObj::CopyFrom(const CBasicObj& other)
{
    CBasicObj::CopyFrom(other);
    if (const CFilledObj* o = mirel::DynamicCast<CFilledObj>(&other)) {
        noFill_ = o->noFill_;
        fillColor_ = o->fillColor_;
        hatchStyle_ = o->hatchStyle_;
        hatchColor_ = o->hatchColor_;
        fillPicture_.reset();
        if (o->fillPicture_) {
            auto copy = o->fillPicture_->Clone();
            fillPicture_.reset(static_cast<CImage*>(copy.release()));
            fillPicture_->SetParent(this);
        }
    }
}

void CFilledObj::SetFillColor(ViewContext* view, uint32_t c)
{
    fillColor_ = c;
    fillPicture_.reset();
    Invalidate(view);
    MarkModified();
}

void CFilledObj::SetFillPicture(ViewContext* view, std::unique_ptr<CImage> picture)
{
    fillPicture_ = std::move(picture);
    if (fillPicture_) {
        const Rect r = GetRect();
        fillPicture_->SetRect(0, 0, r.Width(), r.Height());
        fillPicture_->SetParent(this);
        noFill_ = 0;
    }
    Invalidate(view);
    MarkModified();
}

void CFilledObj::SetHatchStyle(ViewContext* view, int v)
{
    hatchStyle_ = v;
    Invalidate(view);
    MarkModified();
}

void CFilledObj::SetHatchColor(ViewContext* view, uint32_t c)
{
    hatchColor_ = c;
    Invalidate(view);
    MarkModified();
}

void CFilledObj::SetNoFill(ViewContext* view, int v)
{
    noFill_ = v;
    Invalidate(view);
    MarkModified();
}

void CFilledObj::FillPolygon(ViewContext& view, Surface& dc, const std::vector<Point>& pagePoints) const
{
    if (fillPicture_)
        return;   // the shape draws its picture itself
    std::vector<QPoint> px;
    px.reserve(pagePoints.size());
    for (const Point& p : pagePoints)
        px.emplace_back(view.ToPixels(p.x), view.ToPixels(p.y));
    const mirel::BkMode mode = dc.setBkMode(mirel::BkMode::Transparent);
    const mirel::Pen pen = dc.setPen(mirel::Pen::null());
    const mirel::Brush brush = dc.brush();
    if (noFill_ == 0) {
        dc.setBrush(mirel::Brush::solid(fillColor_));
        dc.polygon(px);
    }
    if (hatchStyle_ != kNoHatch) {
        dc.setBrush(mirel::Brush::hatched(hatchStyle_, hatchColor_));
        dc.polygon(px);
    }
    dc.setBrush(brush);
    dc.setPen(pen);
    dc.setBkMode(mode);
}
