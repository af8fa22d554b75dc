#pragma once
// Helpers shared by the view tests: the application object, objects that
// paint a recognisable colour, and documents with several pages.
#include "model/basic_obj.h"
#include "model/mirel_data.h"
#include "model/table_page.h"
#include "model/work_form.h"
#include "surface/surface.h"
#include "text/text_frame.h"
#include "text/text_obj.h"

#include <QApplication>
#include <memory>
#include <string>
#include <vector>

namespace mirel::test {

inline void EnsureApp()
{
    if (QApplication::instance())
        return;
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings written by the frame go to the build tree, never to the
    // user's own folder.
    if (qgetenv("XDG_CONFIG_HOME").isEmpty() && qgetenv("MIREL_CONFIG_DIR").isEmpty())
        qputenv("MIREL_CONFIG_DIR", MIREL_BINARY_DIR "/test-config/lanzhou");
    static int argc = 1;
    static char name[] = "view_tests";
    static char* argv[] = { name, nullptr };
    // Never destroyed: QTest's input devices outlive the tests and must not
    // outlive the application.
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

// Paints its rectangle in one colour, so a recording or a picture shows
// where and when it was drawn.
template <class Base> class Painted : public Base {
public:
    explicit Painted(uint32_t color)
        : color_(color)
    {
    }
    void Draw(ViewContext& view, Surface& dc) const override
    {
        const Rect r = this->GetClientRect(view);
        dc.fillRect({ r.left, r.top, r.right, r.bottom }, Brush::solid(color_));
        Base::Draw(view, dc);
    }
    uint32_t color_;
};

using PaintedObj = Painted<CBasicObj>;
using PaintedHeader = Painted<CPageHeadFoot>;
using PaintedFrame = Painted<CTextFrame>;
using PaintedColumn = Painted<CTextObj>;

// A painted object at (l, t, r, b) on the page; returns it.
inline CBasicObj* AddPainted(CTablePage& page, Rect r, uint32_t color, bool above = true)
{
    auto obj = std::make_unique<PaintedObj>(color);
    obj->SetRect(r);
    if (!above)
        obj->SetBelowText();
    return page.AddObject(std::move(obj));
}

// Gives the work form `count` pages in all.
inline void EnsurePages(CWorkForm& wf, int count)
{
    while (wf.PageCount() < count)
        wf.AddPage();
}

} // namespace mirel::test
