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

// Draws one page in the order the view uses: paper, objects below the
// text, the text columns, objects above the text.
void DrawPageContent(const CTablePage& page, ViewContext& view, Surface& dc);

// The page as an image at the given resolution, with its one-pixel shadow.
QImage RenderPageImage(const CWorkForm& wf, int pageIndex, int dpi);

// Writes the whole document as PDF: every page of every work form, in
// order, one PDF page each at the page's size, drawn as printed (text stays
// text). Text waiting for layout is laid out first. The file is written
// beside the target and renamed over it only when complete, so a failure
// leaves any previous file intact. False, with a message in `error`, when
// the file cannot be written.
bool WriteDocumentPdf(CMirelData& doc, const std::filesystem::path& path, std::string* error = nullptr);

}  // namespace mirel
