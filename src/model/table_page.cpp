#include "model/table_page.h"

#include "graphics/image.h"
#include "graphics/watermark.h"
#include "model/view_context.h"
#include "model/work_form.h"
#include "persist/archive.h"
#include "surface/surface.h"
#include "text/text_frame.h"
#include "text/text_obj.h"

#include <algorithm>
#include <string>

MIREL_IMPLEMENT_CLASS(CTablePage, &CBasicObj::kClass, 2002)

using mirel::Point;
using mirel::Rect;

CTablePage::CTablePage() = default;
CTablePage::~CTablePage() = default;

// ---------------------------------------------------------------- objects

void CTablePage::AttachObject(CBasicObj* obj)
{
    obj->SetPage(this);
    if (workForm_)
        obj->SetPageIndex(workForm_->IndexOfPage(this));
}

CBasicObj* CTablePage::AddObject(std::unique_ptr<CBasicObj> obj)
{
    CBasicObj* raw = obj.get();
    auto pos = objects_.end();
    if (raw->IsAboveText())
        pos = std::find_if(objects_.begin(), objects_.end(), [](const auto& o) { return !o->IsAboveText(); });
    objects_.insert(pos, std::move(obj));
    AttachObject(raw);
    return raw;
}

std::unique_ptr<CBasicObj> CTablePage::TakeObject(CBasicObj* obj)
{
    for (auto it = objects_.begin(); it != objects_.end(); ++it) {
        if (it->get() == obj) {
            std::unique_ptr<CBasicObj> taken = std::move(*it);
            objects_.erase(it);
            return taken;
        }
    }
    return nullptr;
}

CTextObj* CTablePage::TextColumn(int i) const
{
    if (i < 0 || i >= static_cast<int>(textColumns_.size()))
        return nullptr;
    return textColumns_[i].get();
}

void CTablePage::AppendTextColumn(std::unique_ptr<CTextObj> column)
{
    column->SetPage(this);
    column->SetActiveFlag(true);
    textColumns_.push_back(std::move(column));
}

void CTablePage::SetNumberFrame(std::unique_ptr<CTextFrame> frame)
{
    numberFrame_ = std::move(frame);
}

// ---------------------------------------------------------------- columns

void CTablePage::LayoutColumns(ViewContext* view)
{
    if (!workForm_)
        return;
    const CWorkForm& wf = *workForm_;
    const int n = std::clamp(static_cast<int>(wf.columnCount), 1, 5);
    const int gap = wf.columnGap;
    const int w = (wf.pageWidth - (n - 1) * gap - wf.marginRight - wf.marginLeft) / n;
    const int h = wf.pageHeight - std::max(wf.marginBottom, wf.footMargin) - wf.marginTop;
    const int y = std::max(wf.marginTop, wf.headMargin);
    const int pageIndex = wf.IndexOfPage(this);

    // The attributes shared by all columns come from the work form's first column.
    const CTablePage* firstPage = wf.GetPage(0);
    const CTextObj* first = firstPage ? firstPage->TextColumn(0) : nullptr;

    int x = wf.marginLeft;
    for (int i = 0; i < n; ++i, x += w + gap) {
        const Rect r{x, y, x + w, y + h};
        if (i < static_cast<int>(textColumns_.size())) {
            CTextObj* col = textColumns_[i].get();
            if (col->GetRect() != r) {
                col->SetRect(r);
                col->SetNeedsLayout(true);
            }
        } else {
            auto col = std::make_unique<CTextObj>();
            col->SetRect(r);
            col->SetFlowIndex(workForm_->MaxFlowIndex() + 1);
            workForm_->NoteFlowIndex(col->GetFlowIndex());
            col->SetNeedsLayout(true);
            AppendTextColumn(std::move(col));
        }
    }
    for (const auto& col : textColumns_) {
        col->SetPageIndex(pageIndex);
        col->SetPage(this);
        col->SetActiveFlag(true);
        if (first && first != col.get())
            col->CopyRowLineFrom(*first);
    }
}

// ---------------------------------------------------------------- names

void CTablePage::NameObjects(int32_t& counter)
{
    for (const auto& obj : objects_) {
        ++counter;
        if (obj->GetName().empty())
            obj->SetName("Obj" + std::to_string(counter));
    }
}

void CTablePage::PrefixObjectNames(int pageNumber)
{
    for (const auto& obj : objects_) {
        std::string name = obj->GetName();
        for (int k = 1000; k >= 0; --k) {
            const std::string tag = "Page" + std::to_string(k);
            for (size_t at; (at = name.find(tag)) != std::string::npos;)
                name.erase(at, tag.size());
        }
        obj->SetName("Page" + std::to_string(pageNumber) + name);
    }
}

// ---------------------------------------------------------------- paper

namespace {
void FrameBox(mirel::Surface& dc, const mirel::Box& box, int width, uint32_t color)
{
    const mirel::Pen pen = dc.setPen(mirel::Pen{mirel::LineStyle::InsideFrame, width, color});
    const mirel::Brush brush = dc.setBrush(mirel::Brush::hollow());
    dc.rectangle(box);
    dc.setBrush(brush);
    dc.setPen(pen);
}
}  // namespace

void CTablePage::DrawPaper(ViewContext& view, Surface& dc) const
{
    if (dc.isPrinting() || !workForm_)
        return;
    const CWorkForm& wf = *workForm_;
    const Point origin = view.PageOrigin(this);
    const QPoint savedOrigin = dc.offsetViewportOrigin(origin.x, origin.y);

    const mirel::Box paper{0, 0, view.ToPixels(wf.pageWidth), view.ToPixels(wf.pageHeight)};
    const CImage* picture = wf.GetBackgroundPicture();
    const bool pictureCovers = picture && picture->CoversPage();
    const bool current = view.CurrentPage() == this;

    if (view.IsPreviewing()) {
        const bool useBackground = view.PrintsBackground() && !pictureCovers;
        dc.fillRect(paper, mirel::Brush::solid(useBackground ? wf.backgroundColor : 0xFFFFFF));
        if (current)
            FrameBox(dc, paper, 2, 0xA00000);
        else
            FrameBox(dc, paper, 1, 0x000000);
        if (picture && view.PrintsBackground())
            picture->Draw(view, dc);
    } else {
        if (!pictureCovers)
            dc.fillRect(paper, mirel::Brush::solid(wf.backgroundColor));
        if (picture)
            picture->Draw(view, dc);
    }

    DrawWatermark(wf, view, dc);

    // A one-pixel shadow along the right and bottom edges: the page
    // rectangle moved by one pixel, less the page rectangle.
    const mirel::Brush shadow = mirel::Brush::solid((current && view.IsPreviewing()) ? 0xA00000 : 0x000000);
    dc.fillRect({paper.right, paper.top + 1, paper.right + 1, paper.bottom + 1}, shadow);
    dc.fillRect({paper.left + 1, paper.bottom, paper.right + 1, paper.bottom + 1}, shadow);

    if (wf.showMarginMarks && (wf.marginLeft || wf.marginTop || wf.marginRight || wf.marginBottom)) {
        const Rect c = wf.GetContentRect();
        const int m = 60;
        const mirel::Pen pen = dc.setPen(mirel::Pen{mirel::LineStyle::Solid, 1, 0xC0C0C0});
        auto line = [&](int x1, int y1, int x2, int y2) {
            dc.moveTo({view.ToPixels(x1), view.ToPixels(y1)});
            dc.lineTo({view.ToPixels(x2), view.ToPixels(y2)});
        };
        for (const int x : {c.left, c.right}) {
            const int out = x == c.left ? -m : m;
            for (const int y : {c.top, c.bottom}) {
                line(x, y, x + out, y);
                line(x, y, x, y + (y == c.top ? -m : m));
            }
        }
        dc.setPen(pen);
    }
    dc.setViewportOrigin(savedOrigin);
}

// ---------------------------------------------------------------- the record

void CTablePage::Serialize(mirel::Archive& ar)
{
    if (ar.IsStoring()) {
        SerializeBase(ar);
        ar.WriteCount(textColumns_.size());
        for (const auto& col : textColumns_)
            ar.WriteObject(col.get());
        const auto above = std::count_if(objects_.begin(), objects_.end(), [](const auto& o) { return o->IsAboveText(); });
        ar.WriteCount(static_cast<size_t>(above));
        for (const auto& o : objects_)
            if (o->IsAboveText())
                ar.WriteObject(o.get());
        ar.WriteCount(objects_.size() - static_cast<size_t>(above));
        for (const auto& o : objects_)
            if (!o->IsAboveText())
                ar.WriteObject(o.get());
        return;
    }

    const uint32_t schema = ar.GetObjectSchema();
    SerializeBase(ar);
    auto readColumns = [&] {
        const uint32_t n = ar.ReadCount(2);
        for (uint32_t i = 0; i < n; ++i) {
            std::unique_ptr<CTextObj> col = ar.ReadOwned<CTextObj>();
            if (!col)
                throw mirel::ArchiveError(mirel::ArchiveError::Kind::BadRecord, "null text column");
            AppendTextColumn(std::move(col));
        }
    };
    auto readObjects = [&](bool above) {
        const uint32_t n = ar.ReadCount(2);
        for (uint32_t i = 0; i < n; ++i) {
            std::unique_ptr<CBasicObj> obj = ar.ReadOwned<CBasicObj>();
            if (!obj)
                continue;   // a null entry holds nothing
            if (above)
                obj->SetAboveText();
            else
                obj->SetBelowText();
            CBasicObj* raw = obj.get();
            objects_.push_back(std::move(obj));
            AttachObject(raw);
        }
    };
    if (schema >= 2002) {
        readColumns();
        readObjects(true);
        readObjects(false);
    } else if (schema == 2001) {
        readObjects(true);
        readColumns();
    } else {
        readObjects(true);
    }
}
