#pragma once
// The text watermark of a work form, drawn on every page under the objects.
class CWorkForm;
namespace mirel {
class Surface;
class ViewContext;
}

// Draws the work form's watermark text centred on the page (slanted at 45°
// unless it is set to horizontal); nothing when the text is empty.
void DrawWatermark(const CWorkForm& wf, mirel::ViewContext& view, mirel::Surface& dc);
