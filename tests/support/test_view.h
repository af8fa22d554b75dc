#pragma once
// A view for tests: a zoom and resolution, every page at the origin, and
// the invalidated rectangles collected.
#include "model/view_context.h"

#include <vector>

namespace mirel::test {

class TestView : public ViewContext {
public:
    TestView(int zoom = 100, int dpi = 96) : zoom_(zoom), dpi_(dpi) {}
    int ZoomPercent() const override { return zoom_; }
    int DpiY() const override { return dpi_; }
    Point PageOrigin(const CTablePage*) const override { return {}; }
    void InvalidatePixels(const Rect& r) override { invalidated.push_back(r); }
    bool IsPreviewing() const override { return previewing; }
    const CTablePage* CurrentPage() const override { return current; }

    std::vector<Rect> invalidated;
    bool previewing = false;
    const CTablePage* current = nullptr;

private:
    int zoom_;
    int dpi_;
};

}  // namespace mirel::test
