#include "graphics/watermark.h"

#include "model/view_context.h"
#include "model/work_form.h"
#include "platform/gbk.h"
#include "platform/muldiv.h"
#include "surface/surface.h"

#include <algorithm>
#include "surface/surface.h"

void DrawWatermark(const CWorkForm& wf, mirel::ViewContext& view, mirel::Surface& dc)
{
    if (wf.watermarkText.empty())
        return;
    const int pageW = view.ToPixels(wf.pageWidth);
    const int pageH = view.ToPixels(wf.pageHeight);
    const bool slanted = wf.watermarkHorizontal != 1;

    mirel::FontSpec font;
    font.height = view.ToPixels((wf.watermarkSize + 5) / 10);
    font.escapement = font.orientation = slanted ? 450 : 0;
    font.weight = 0;
    const bool asciiFace = std::all_of(wf.watermarkFont.begin(), wf.watermarkFont.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    font.charSet = asciiFace ? mirel::CharSet::Ansi : mirel::CharSet::GB2312;
    font.faceName = mirel::GbkToQString(wf.watermarkFont);

    const int saved = dc.saveState();
    dc.setBkMode(mirel::BkMode::Transparent);
    dc.setTextColor(wf.watermarkColor);
    dc.setFont(font);
    dc.setTextAlign(mirel::TextAlign::Left | mirel::TextAlign::Top);
    const QString text = mirel::GbkToQString(wf.watermarkText);
    const QSize extent = dc.textExtent(text);
    int w = extent.width();
    int e = extent.height() / 2;
    if (slanted) {
        e = e - mirel::MulDiv(w, 1414, 2000) / 2;
        w = w + e / 2;
    }
    dc.textOut({pageW / 2 - w / 2, pageH / 2 - e}, text);
    dc.restoreState(saved);
}
