#pragma once
// Painting one page in the binding order: the paper (background, picture,
// watermark, shadow, margin marks), the header, footer and page number,
// the objects below the text, the text columns, the objects above the text.
// The view paints the paper of every visible page first and the rest in a
// second pass; page bitmaps paint both at once.
#include <QImage>

class CTablePage;
class CWorkForm;

namespace mirel {

class Surface;
class ViewContext;

// Everything on the page after the paper.
void PaintPageObjects(const CTablePage& page, ViewContext& view, Surface& dc);
// The paper, then PaintPageObjects.
void PaintWholePage(const CTablePage& page, ViewContext& view, Surface& dc);
// Page `index` of the work form as a bitmap at `zoom` percent and `dpi`,
// one pixel wider and taller for the page's shadow. Null for no such page.
QImage RenderPageBitmap(const CWorkForm& wf, int index, int dpi, int zoom = 100);

} // namespace mirel
