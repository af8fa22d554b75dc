#include "view/page_grid.h"

#include "platform/muldiv.h"

#include <algorithm>
#include <cstdint>

namespace mirel {

ZoomSetting ResolveZoom(int mode, int percent, int currentZoom, int clientW, int clientH, int pageW100, int pageH100)
{
    pageW100 = std::max(1, pageW100);
    pageH100 = std::max(1, pageH100);
    const int byWidth = MulDiv(clientW - 9, 100, pageW100);
    const int byHeight = MulDiv(clientH - 9, 100, pageH100);
    int result = percent;
    switch (mode) {
    case kZoomStep:
        result = currentZoom + percent;
        mode = kZoomPercent;
        break;
    case kZoomPercent:
        result = percent;
        break;
    case kZoomPageWidth:
        result = byWidth;
        break;
    case kZoomPageHeight:
        result = byHeight;
        break;
    case kZoomWholePage:
        result = std::min(byWidth, byHeight);
        break;
    case kZoomTwoPages:
        result = std::min(MulDiv(clientW - 9, 100, 2 * pageW100 + 3), byHeight);
        break;
    case kZoomManyPages:
        result = percent == 0 ? MulDiv(clientW - 15, 100, 5 * pageW100) - 1 : percent;
        break;
    default:
        mode = kZoomPercent;
        break;
    }
    return { mode, std::clamp(result, kMinZoom, kMaxZoom) };
}

std::optional<ZoomSetting> ZoomListItem(int item)
{
    static constexpr int kPercents[] = { 400, 300, 200, 100, 75, 50, 25, 10 };
    if (item >= 0 && item < 8)
        return ZoomSetting { kZoomPercent, kPercents[item] };
    switch (item) {
    case 8:
        return ZoomSetting { kZoomPageWidth, 100 };
    case 9:
        return ZoomSetting { kZoomWholePage, 100 };
    case 10:
        return ZoomSetting { kZoomTwoPages, 100 };
    default:
        return std::nullopt;
    }
}

int PageGrid::ToPixels(int units) const
{
    // MulDiv(zoom x units, dpiY, 25400), with the product kept in 64 bits so
    // that a page size read from a damaged file cannot overflow.
    const long long num = static_cast<long long>(zoom) * units * dpiY;
    const long long q = (num >= 0 ? num + 12700 : num - 12700) / 25400;
    return static_cast<int>(std::clamp<long long>(q, INT32_MIN, INT32_MAX));
}

int PageGrid::ToUnits(int pixels) const
{
    return MulDiv(pixels, 25400, dpiY * zoom);
}

int PageGrid::Layout(Size pageSize, int pageCount, int currentIndex)
{
    const int oldOriginY = gridOriginY;
    pageW = std::clamp(ToPixels(pageSize.cx), 1, kMaxPagePixels);
    pageH = std::clamp(ToPixels(pageSize.cy), 1, kMaxPagePixels);

    const int fit = std::max(1, (clientW - kPageGap) / (pageW + kPageGap));
    switch (zoomMode) {
    case kZoomPercent:
        columns = fit;
        if (columns != 1)
            zoomMode = kZoomManyPages;
        break;
    case kZoomTwoPages:
        columns = 2;
        break;
    case kZoomManyPages:
        columns = fit;
        if (columns == 1)
            zoomMode = kZoomPercent;
        break;
    default:
        columns = 1;
        break;
    }

    constexpr long long kLimit = INT32_MAX / 4;
    gridW = static_cast<int>(
        std::min<long long>(static_cast<long long>(columns) * (pageW + kPageGap) + kPageGap, kLimit));
    rows = pageCount > 0 ? (pageCount + columns - 1) / columns : 0;
    gridH = static_cast<int>(std::min<long long>(static_cast<long long>(rows) * (pageH + kPageGap) + kPageGap, kLimit));

    if (gridW <= clientW)
        gridOriginX = zoomMode == kZoomManyPages ? 0 : (clientW - gridW) / 2;
    else
        gridOriginX = std::clamp(gridOriginX, clientW - gridW, 0);

    if (gridH <= clientH) {
        gridOriginY = zoomMode == kZoomManyPages ? 0 : (clientH - gridH) / 2;
    } else {
        // Bring the current page's row back when it lies wholly outside.
        const int current = std::clamp(currentIndex, 0, std::max(0, pageCount - 1));
        const int rowTop = (current / columns) * (pageH + kPageGap);
        const int top = rowTop + gridOriginY;
        if (top + pageH + kPageGap <= 0 || top >= clientH)
            gridOriginY = -rowTop;
        gridOriginY = std::clamp(gridOriginY, clientH - gridH - 9, 0);
    }
    return gridOriginY - oldOriginY;
}

void PageGrid::PlaceVisible(int pageCount)
{
    const int step = pageH + kPageGap;
    const int lastPage = pageCount - 1;
    if (pageCount <= 0) {
        first = 0;
        last = -1;
    } else {
        first = gridOriginY < 0 ? (-gridOriginY / step) * columns : 0;
        first = std::min(first, lastPage - lastPage % columns);
        last = std::min(((clientH - gridOriginY) / step + 1) * columns - 1, lastPage);
        if (last < first)
            last = first;
    }
    viewOriginX = gridOriginX;
    viewOriginY = gridOriginY + (first / columns) * step;
}

void PageGrid::ComputeScrollScale()
{
    const int room = kMaxScrollPosition - clientH;
    vScrollScale = room > 0 ? std::max(1, (gridH - clientH + 8) / room + 1) : std::max(1, gridH);
}

ScrollBarState PageGrid::Horizontal() const
{
    ScrollBarState s;
    s.range = gridW;
    s.page = clientW;
    s.shown = gridW > clientW;
    s.position = s.shown ? std::clamp(-gridOriginX, 0, s.MaxPosition()) : 0;
    return s;
}

ScrollBarState PageGrid::Vertical() const
{
    ScrollBarState s;
    s.page = clientH;
    s.shown = gridH > clientH;
    s.range = s.shown ? clientH + (gridH - clientH + 9) / vScrollScale : gridH;
    s.position = s.shown ? std::clamp(-gridOriginY / vScrollScale, 0, s.MaxPosition()) : 0;
    return s;
}

Rect PageGrid::PageRect(int index) const
{
    const int col = index % columns;
    const int row = index / columns - first / columns;
    const int left = kPageGap + col * (pageW + kPageGap);
    const int top = kPageGap + row * (pageH + kPageGap);
    return { left, top, left + pageW, top + pageH };
}

int PageGrid::PageAt(Point gridPoint) const
{
    for (int i = first; i <= last; ++i)
        if (PageRect(i).Contains(gridPoint))
            return i;
    return -1;
}

int PageGrid::ScrollVertical(ScrollAction action, int thumb)
{
    const ScrollBarState bar = Vertical();
    if (!bar.shown)
        return 0;
    const int scale = vScrollScale;
    auto steps = [scale](int pixels) { return std::max(scale, pixels / scale * scale) / scale; };
    int pos = bar.position;
    switch (action) {
    case ScrollAction::LineBack:
        pos -= steps(clientH / 10);
        break;
    case ScrollAction::LineForward:
        pos += steps(clientH / 10);
        break;
    case ScrollAction::PageBack:
        pos -= steps(clientH - 6);
        break;
    case ScrollAction::PageForward:
        pos += steps(clientH - 6);
        break;
    case ScrollAction::ToStart:
        pos = 0;
        break;
    case ScrollAction::ToEnd:
        pos = bar.MaxPosition();
        break;
    case ScrollAction::Thumb:
        pos = thumb;
        break;
    }
    pos = std::clamp(pos, 0, bar.MaxPosition());
    const int old = gridOriginY;
    if (pos == 0)
        gridOriginY = 0;
    else if (pos == bar.MaxPosition() && gridH > clientH + 6)
        gridOriginY = clientH - gridH - 6; // the grid ends 6 pixels above the client bottom
    else
        gridOriginY -= (pos - bar.position) * scale;
    return gridOriginY - old;
}

int PageGrid::ScrollHorizontal(ScrollAction action, int thumb)
{
    const ScrollBarState bar = Horizontal();
    if (!bar.shown)
        return 0;
    int pos = bar.position;
    switch (action) {
    case ScrollAction::LineBack:
        pos -= std::max(1, clientW / 10);
        break;
    case ScrollAction::LineForward:
        pos += std::max(1, clientW / 10);
        break;
    case ScrollAction::PageBack:
        pos -= std::max(1, clientW - 6);
        break;
    case ScrollAction::PageForward:
        pos += std::max(1, clientW - 6);
        break;
    case ScrollAction::ToStart:
        pos = 0;
        break;
    case ScrollAction::ToEnd:
        pos = bar.MaxPosition();
        break;
    case ScrollAction::Thumb:
        pos = thumb;
        break;
    }
    pos = std::clamp(pos, 0, bar.MaxPosition());
    const int old = gridOriginX;
    gridOriginX -= pos - bar.position;
    return gridOriginX - old;
}

Point PageGrid::ScrollIntoView(const Rect& r)
{
    // A rectangle that fits is brought wholly inside; one larger than the
    // client area counts as shown while any part of it is, and otherwise
    // comes in with its top (left) edge first.
    auto axis = [](int& origin, int lo, int hi, int client, int grid, int slack) {
        if (grid <= client)
            return;
        if (hi - lo <= client) {
            if (lo < 0)
                origin -= lo;
            else if (hi > client)
                origin -= std::min(hi - client, lo);
        } else if (hi <= 0 || lo >= client) {
            origin -= lo;
        }
        origin = std::clamp(origin, client - grid - slack, 0);
    };
    const int oldX = gridOriginX, oldY = gridOriginY;
    axis(gridOriginY, r.top, r.bottom, clientH, gridH, 9);
    axis(gridOriginX, r.left, r.right, clientW, gridW, 0);
    return { gridOriginX - oldX, gridOriginY - oldY };
}

} // namespace mirel
