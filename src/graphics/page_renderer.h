#pragma once
// Drawing whole pages outside any window: into an image (page snapshots,
// PNG export) or onto a paint device such as a PDF writer.
#include <QImage>

#include <filesystem>
#include <string>

class CMirelData;
class CWorkForm;
class CTablePage;
class QPaintDevice;

namespace mirel {

class Surface;
class ViewContext;

// Everything on a page after its paper, in the binding order: the header,
// footer and page number, the objects below the text, the text columns, the
// objects above the text. The view paints the paper of every visible page
// first and then this for each; images and PDF draw both at once.
void DrawPageObjects(const CTablePage& page, ViewContext& view, Surface& dc);
// The paper (background, picture, watermark, shadow, margin marks), then
// DrawPageObjects.
void DrawPageContent(const CTablePage& page, ViewContext& view, Surface& dc);

// The page as an image at the given resolution and zoom (10 to 400 %), one
// pixel wider and taller for the page's shadow. Null for no such page, or
// for a page too large to hold as an image (a damaged page size).
QImage RenderPageImage(const CWorkForm& wf, int pageIndex, int dpi, int zoom = 100);

// Writes the whole document as PDF: every page of every work form, in
// order, one PDF page each at the page's size, drawn as printed (text stays
// text). Text waiting for layout is laid out first. The file is written
// beside the target and renamed over it only when complete, so a failure
// leaves any previous file intact. False, with a message in `error`, when
// the file cannot be written.
bool WriteDocumentPdf(CMirelData& doc, const std::filesystem::path& path, std::string* error = nullptr);

}  // namespace mirel
