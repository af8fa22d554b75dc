#include "graphics/page_renderer.h"

#include "model/doc_info.h"
#include "model/mirel_data.h"
#include "model/table_page.h"
#include "model/view_context.h"
#include "model/work_form.h"
#include "platform/gbk.h"
#include "surface/draw_surface.h"
#include "text/text_edit.h"
#include "text/text_frame.h"
#include "text/text_obj.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>

namespace mirel {

namespace {
// A view of one page with the page at the origin; the page being drawn
// stands in for pages that objects do not name.
class ExportView : public ViewContext {
public:
    explicit ExportView(int dpi, int zoom = 100)
        : dpi_(dpi)
        , zoom_(zoom)
    {
    }
    int ZoomPercent() const override { return zoom_; }
    int DpiY() const override { return dpi_; }
    Point PageOrigin(const CTablePage*) const override { return {}; }
    void InvalidatePixels(const Rect&) override {}
    const CTablePage* CurrentPage() const override { return page_; }
    void SetPage(const CTablePage* page) { page_ = page; }

private:
    int dpi_;
    int zoom_;
    const CTablePage* page_ = nullptr;
};

// Larger images are refused rather than allocated.
constexpr int kMaxImageSide = 20000;

// A view of printed output: every page at the origin of its sheet.
class PrintView : public ExportView {
public:
    explicit PrintView(int dpi) : ExportView(dpi) {}
    bool IsPrinting() const override { return true; }
};

// The resolution PDF pages are drawn at: fine enough that text positions
// (0.01 mm in layout) land within 0.03 mm.
constexpr int kPdfDpi = 1200;

QPageSize PageSizeOf(const CWorkForm& wf)
{
    const double w = std::max(1, static_cast<int>(wf.pageWidth)) / 10.0;
    const double h = std::max(1, static_cast<int>(wf.pageHeight)) / 10.0;
    return QPageSize(QSizeF(w, h), QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
}
}  // namespace

void DrawPageObjects(const CTablePage& page, ViewContext& view, Surface& dc)
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
    for (const auto& col : page.TextColumns())
        col->Draw(view, dc);
    for (const auto& obj : page.Objects())
        if (obj->IsAboveText())
            obj->Draw(view, dc);
}

void DrawPageContent(const CTablePage& page, ViewContext& view, Surface& dc)
{
    page.DrawPaper(view, dc);
    DrawPageObjects(page, view, dc);
}

QImage RenderPageImage(const CWorkForm& wf, int pageIndex, int dpi, int zoom)
{
    const CTablePage* page = wf.GetPage(pageIndex);
    if (!page || dpi <= 0)
        return {};
    ExportView view(dpi, std::clamp(zoom, 10, 400));
    view.SetPage(page);
    const int w = std::max(1, view.ToPixels(wf.pageWidth)) + 1;
    const int h = std::max(1, view.ToPixels(wf.pageHeight)) + 1;
    if (w > kMaxImageSide || h > kMaxImageSide)
        return {};
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.setDotsPerMeterX(dpi * 10000 / 254);
    image.setDotsPerMeterY(dpi * 10000 / 254);
    image.fill(Qt::white);
    DrawSurface dc(image, dpi, dpi);
    DrawPageContent(*page, view, dc);
    return image;
}

bool WriteDocumentPdf(CMirelData& doc, const std::filesystem::path& path, std::string* error)
{
    auto fail = [&](const std::string& why) {
        if (error)
            *error = why;
        return false;
    };
    LayoutPendingText(doc);

    QSaveFile file(QString::fromStdString(path.string()));
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString().toStdString());
    {
        QPdfWriter writer(&file);
        writer.setResolution(kPdfDpi);
        writer.setCreator(QStringLiteral("岚舟文字"));
        if (const CDocInfo* info = doc.FindDocInfo())
            writer.setTitle(GbkToQString(info->title));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);

        // The surface is made once, with room for the largest page.
        const CWorkForm* first = nullptr;
        int maxWidth = 1, maxHeight = 1;
        for (int w = 0; w < doc.WorkFormCount(); ++w) {
            const CWorkForm* wf = doc.GetWorkForm(w);
            if (wf->PageCount() == 0)
                continue;
            first = first ? first : wf;
            maxWidth = std::max(maxWidth, static_cast<int>(wf->pageWidth));
            maxHeight = std::max(maxHeight, static_cast<int>(wf->pageHeight));
        }
        if (!first)
            return fail("the document has no pages");
        writer.setPageSize(PageSizeOf(*first));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);

        PrintView view(kPdfDpi);
        DeviceOptions options = DeviceOptions::forPdfWriter(writer);
        options.size = QSize(view.ToPixels(maxWidth) + 1, view.ToPixels(maxHeight) + 1);
        DrawSurface dc(writer, options);
        bool firstPage = true;
        for (int w = 0; w < doc.WorkFormCount(); ++w) {
            const CWorkForm& wf = *doc.GetWorkForm(w);
            for (int p = 0; p < wf.PageCount(); ++p) {
                if (!firstPage) {
                    writer.setPageSize(PageSizeOf(wf));
                    if (!writer.newPage())
                        return fail("cannot start a new PDF page");
                }
                firstPage = false;
                dc.saveState();
                view.SetPage(wf.GetPage(p));
                DrawPageContent(*wf.GetPage(p), view, dc);
                dc.restoreState();
            }
        }
        dc.end();
    }
    if (!file.commit())
        return fail(file.errorString().toStdString());
    return true;
}

}  // namespace mirel
