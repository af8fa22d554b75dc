// CTableView: painting the visible pages and the overlays on top of them.
#include "model/basic_obj.h"
#include "model/table_page.h"
#include "model/work_form.h"
#include "surface/draw_surface.h"
#include "surface/system_colors.h"
#include "graphics/page_renderer.h"
#include "view/table_view.h"

#include <QPaintEvent>
#include <QPainter>

using mirel::Rect;

namespace {

mirel::Box ToBox(const Rect& r)
{
    return { r.left, r.top, r.right, r.bottom };
}

// The page an object stands on, through its containers.
const CTablePage* PageOfObject(const CBasicObj* obj)
{
    const CBasicObj* top = obj;
    while (top->GetParent())
        top = top->GetParent();
    if (const CTablePage* page = mirel::DynamicCast<CTablePage>(top))
        return page;
    return top->GetPage();
}

} // namespace

void CTableView::paintEvent(QPaintEvent* event)
{
    if (printing_)
        return; // the printer draws meanwhile
    QPainter painter(this);
    mirel::DeviceOptions options;
    options.dpiX = dpiX_;
    options.dpiY = grid_.dpiY;
    options.size = size();
    mirel::DrawSurface dc(painter, options);
    // Qt's backing store already composes the whole update off screen and
    // shows it in one transfer, which is what a buffered paint asks for.
    bufferNextPaint_ = false;
    dc.setViewportOrigin({ grid_.viewOriginX, grid_.viewOriginY });
    const QRect r = event->rect();
    const Rect clip { r.left() - grid_.viewOriginX, r.top() - grid_.viewOriginY,
        r.left() + r.width() - grid_.viewOriginX, r.top() + r.height() - grid_.viewOriginY };
    PaintContent(dc, clip);
}

void CTableView::PaintContent(mirel::Surface& dc, const Rect& clip)
{
    // 1. Around the pages: the button-shadow grey. Pages are not erased.
    mirel::Region around = mirel::Region::rect(ToBox(clip));
    std::vector<std::pair<CTablePage*, Rect>> pages;
    for (CTablePage* page : visiblePages_) {
        const Rect r = PageGridRect(page);
        around.combine(mirel::Region::rect(ToBox(r)), mirel::Region::Combine::Diff);
        // The one-pixel shadow lies beside the page: it counts as the page's.
        if (r.left <= clip.right && clip.left <= r.right + 1 && r.top <= clip.bottom && clip.top <= r.bottom + 1)
            pages.emplace_back(page, r);
    }
    dc.fillRegion(around, mirel::Brush::solid(mirel::SysColor::ButtonShadow));
    if (!workForm_)
        return;

    // 2. The paper of every page that meets the clip.
    for (const auto& [page, r] : pages)
        page->DrawPaper(*this, dc);

    // 3. Each page's content, with the page current while it draws.
    CTablePage* const saved = currentPage_;
    paintingPages_ = true;
    for (const auto& [page, r] : pages) {
        currentPage_ = page;
        mirel::DrawPageObjects(*page, *this, dc);
    }
    currentPage_ = saved;
    paintingPages_ = false;

    // 4. Overlays, on screen only.
    if (!preview_ && !dc.isPrinting())
        PaintOverlays(dc, clip);
}

void CTableView::PaintOverlays(mirel::Surface& dc, const Rect& clip)
{
    // Selection handles, above every page's content.
    for (const CBasicObj* obj : selection_) {
        const CTablePage* page = PageOfObject(obj);
        const int index = page && workForm_ ? workForm_->IndexOfPage(page) : -1;
        if (index >= 0 && grid_.IsVisible(index))
            obj->DrawTracker(*this, dc, 0);
    }
    // Rubber bands and drag outlines; the text tool's caret and highlight.
    if (currentTool_)
        currentTool_->DrawFeedback(*this, dc);
    // The target of a pending operation, outlined in red.
    if (pendingTarget_) {
        const Rect r = pendingTarget_->GetClientRect(*this);
        const mirel::Pen pen = dc.setPen(mirel::Pen { mirel::LineStyle::Solid, 1, 0x0000FF });
        const mirel::Brush brush = dc.setBrush(mirel::Brush::hollow());
        dc.rectangle(ToBox(r));
        dc.setBrush(brush);
        dc.setPen(pen);
    }
    (void)clip;
}
