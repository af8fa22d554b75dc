#pragma once
// The arithmetic of a view's page grid: the zoom a mode gives, how many
// pages stand side by side, where the grid stands in the client area, which
// pages are visible and where, and the scroll bar positions. No widgets:
// the view holds one PageGrid and turns its numbers into painting and
// scroll bars.
//
// Coordinates: grid pixels have their origin at the top-left of the first
// visible row of the grid (the view origin); client pixels are grid pixels
// plus (viewOriginX, viewOriginY).
#include "model/geometry.h"

#include <optional>

namespace mirel {

enum ZoomMode : int {
    kZoomStep = 0, // current zoom + the given amount, then as kZoomPercent
    kZoomPercent = 1, // the given percentage
    kZoomPageWidth = 2, // fit the page width
    kZoomPageHeight = 3, // fit the page height
    kZoomWholePage = 4, // the smaller of width and height
    kZoomTwoPages = 5, // two pages side by side
    kZoomManyPages = 6, // as many pages per row as fit
};

inline constexpr int kMinZoom = 10;
inline constexpr int kMaxZoom = 400;
inline constexpr int kPageGap = 3; // pixels between pages and around the grid
inline constexpr int kMaxScrollPosition = 32767;
// Pages larger than this (a damaged page size) are laid out at this size so
// that the grid arithmetic stays within 32 bits.
inline constexpr int kMaxPagePixels = 100000;

struct ZoomSetting {
    int mode = kZoomPercent;
    int percent = 100;
    friend bool operator==(const ZoomSetting&, const ZoomSetting&) = default;
};

// The percentage a zoom mode gives, clamped to 10..400. A relative step
// (mode 0) comes back as mode 1. pageW100/pageH100: the page in pixels at
// 100 %.
ZoomSetting ResolveZoom(int mode, int percent, int currentZoom, int clientW, int clientH, int pageW100, int pageH100);

// Items of the component's zoom box: "400%|300%|200%|100%|75%|50%|25%|10%|页宽|整页|双页|".
std::optional<ZoomSetting> ZoomListItem(int item);

enum class ScrollAction { LineBack, LineForward, PageBack, PageForward, ToStart, ToEnd, Thumb };

// One scroll bar as the grid wants it: positions 0 .. range - page.
struct ScrollBarState {
    int range = 0;
    int page = 0;
    int position = 0;
    bool shown = false;
    int MaxPosition() const { return range > page ? range - page : 0; }
    friend bool operator==(const ScrollBarState&, const ScrollBarState&) = default;
};

struct PageGrid {
    // --- inputs ---
    int dpiY = 96;
    int zoomMode = kZoomWholePage;
    int zoom = 100;
    int clientW = 0;
    int clientH = 0;

    // --- results ---
    int pageW = 1;
    int pageH = 1;
    int columns = 1;
    int rows = 0;
    int gridW = 0;
    int gridH = 0;
    int gridOriginX = 0; // offset of the grid in the client area (centring or scrolling)
    int gridOriginY = 0;
    int viewOriginX = 0; // client position of grid pixel (0, 0) of the first visible row
    int viewOriginY = 0;
    int first = 0; // visible pages first .. last (last < first: none)
    int last = -1;
    int vScrollScale = 1;

    // Document units <-> pixels: MulDiv(zoom x units, dpiY, 25400) and back.
    int ToPixels(int units) const;
    int ToUnits(int pixels) const;

    // The page grid for pages of `pageSize` units: page size in pixels,
    // columns (switching mode 1 <-> 6), grid size and origin, bringing the
    // row of `currentIndex` into view when the grid is taller than the
    // client area. Returns the change of gridOriginY.
    int Layout(Size pageSize, int pageCount, int currentIndex);
    // Which pages are visible and the view origin.
    void PlaceVisible(int pageCount);
    // The factor that keeps vertical scroll positions within 0..32767.
    void ComputeScrollScale();
    // Both scroll bars for the current grid.
    ScrollBarState Horizontal() const;
    ScrollBarState Vertical() const;

    // Grid rectangle of any page (relative to the view origin; pages above
    // the first visible row get negative tops).
    Rect PageRect(int index) const;
    // The first visible page whose rectangle holds the grid point, or -1.
    int PageAt(Point gridPoint) const;
    bool IsVisible(int index) const { return index >= first && index <= last; }

    // Scrolling: returns how far the grid origin moved (pixels; positive
    // moves the content right / down). `thumb` is the bar position for
    // ScrollAction::Thumb.
    int ScrollVertical(ScrollAction action, int thumb = 0);
    int ScrollHorizontal(ScrollAction action, int thumb = 0);
    // Moves the grid so that the rectangle (client pixels) lies inside the
    // client area where it can; returns the change of (gridOriginX, gridOriginY).
    Point ScrollIntoView(const Rect& clientRect);
};

} // namespace mirel
