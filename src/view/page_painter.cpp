#include "view/page_painter.h"

#include "model/table_page.h"
#include "model/view_context.h"
#include "model/work_form.h"
#include "surface/draw_surface.h"
#include "text/text_frame.h"
#include "text/text_obj.h"

#include <algorithm>

namespace mirel {

void PaintPageObjects(const CTablePage& page, ViewContext& view, Surface& dc)
{
    if (const CWorkForm* wf = page.GetWorkForm()) {
        if (const CPageHeadFoot* header = wf->GetHeader())
            header->Draw(view, dc);
        if (const CPageHeadFoot* footer = wf->GetFooter())
            footer->Draw(view, dc);
    }
    if (const CTextFrame* number = page.NumberFrame())
        number->Draw(view, dc);
    for (const auto& obj : page.Objects())
        if (!obj->IsAboveText())
            obj->Draw(view, dc);
    for (const auto& column : page.TextColumns())
        column->Draw(view, dc);
    for (const auto& obj : page.Objects())
        if (obj->IsAboveText())
            obj->Draw(view, dc);
}

void PaintWholePage(const CTablePage& page, ViewContext& view, Surface& dc)
{
    page.DrawPaper(view, dc);
    PaintPageObjects(page, view, dc);
}

namespace {
// Larger bitmaps are refused rather than allocated (a damaged page size).
constexpr int kMaxBitmapSide = 20000;

// One page at the origin, at a fixed zoom and resolution; the page being
// painted stands in for pages that objects do not name.
class BitmapView : public ViewContext {
public:
    BitmapView(int dpi, int zoom, const CTablePage* page)
        : dpi_(dpi)
        , zoom_(zoom)
        , page_(page)
    {
    }
    int ZoomPercent() const override { return zoom_; }
    int DpiY() const override { return dpi_; }
    Point PageOrigin(const CTablePage*) const override { return {}; }
    void InvalidatePixels(const Rect&) override { }
    const CTablePage* CurrentPage() const override { return page_; }

private:
    int dpi_;
    int zoom_;
    const CTablePage* page_;
};
} // namespace

QImage RenderPageBitmap(const CWorkForm& wf, int index, int dpi, int zoom)
{
    const CTablePage* page = wf.GetPage(index);
    if (!page || dpi <= 0)
        return {};
    BitmapView view(dpi, std::clamp(zoom, 10, 400), page);
    const int w = std::max(1, view.ToPixels(wf.pageWidth)) + 1;
    const int h = std::max(1, view.ToPixels(wf.pageHeight)) + 1;
    if (w > kMaxBitmapSide || h > kMaxBitmapSide)
        return {};
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.setDotsPerMeterX(dpi * 10000 / 254);
    image.setDotsPerMeterY(dpi * 10000 / 254);
    image.fill(Qt::white);
    DrawSurface dc(image, dpi, dpi);
    PaintWholePage(*page, view, dc);
    return image;
}

} // namespace mirel
