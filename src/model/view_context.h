#pragma once
// What an object needs from the view that shows it: the zoom and resolution
// for pixel conversions, where a page stands, invalidation, and the view's
// modes. The widget view implements it; headless rendering has its own.
#include "model/geometry.h"

class CBasicObj;
class CTablePage;
class CMirelData;

namespace mirel {

class ViewContext {
public:
    virtual ~ViewContext() = default;

    virtual int ZoomPercent() const = 0;
    virtual int DpiY() const = 0;                          // serves both axes
    virtual Point PageOrigin(const CTablePage* page) const = 0;   // page's top-left, in view pixels
    virtual void InvalidatePixels(const Rect& pixels) = 0;
    virtual bool IsPrinting() const { return false; }
    virtual bool IsPreviewing() const { return false; }
    virtual bool PrintsBackground() const { return false; }
    virtual bool IsSelected(const CBasicObj*) const { return false; }
    virtual const CTablePage* CurrentPage() const { return nullptr; }
    virtual CMirelData* Document() const { return nullptr; }
    // The option to show the names of empty named text objects on screen.
    virtual bool ShowsObjectNames() const { return false; }
    // Printing or previewing with the option to print text in black.
    virtual bool PrintsTextInBlack() const { return false; }

    // Document units <-> pixels at this view's zoom.
    int ToPixels(int units) const;
    int ToUnits(int pixels) const;
    Rect ToPixels(const Rect& r) const;
};

}  // namespace mirel
