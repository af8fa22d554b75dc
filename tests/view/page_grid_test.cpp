// The page grid: zoom modes, columns, centring, visible pages, scroll bars.
#include "platform/muldiv.h"
#include "view/page_grid.h"

#include <gtest/gtest.h>

namespace mirel {
namespace {

constexpr Size kA4 { 2100, 2970 };

TEST(ZoomTest, EachModeGivesItsPercentage)
{
    // A4 at 96 dpi and 100 %: 794 x 1123 pixels.
    const int w100 = MulDiv(100 * 2100, 96, 25400);
    const int h100 = MulDiv(100 * 2970, 96, 25400);
    ASSERT_EQ(w100, 794);
    ASSERT_EQ(h100, 1123);
    struct Case {
        int mode, percent, current, clientW, clientH;
        ZoomSetting expected;
    };
    const Case cases[] = {
        { kZoomStep, 25, 100, 800, 600, { kZoomPercent, 125 } },
        { kZoomStep, -95, 100, 800, 600, { kZoomPercent, 10 } },
        { kZoomPercent, 150, 100, 800, 600, { kZoomPercent, 150 } },
        { kZoomPercent, 5, 100, 800, 600, { kZoomPercent, 10 } },
        { kZoomPercent, 500, 100, 800, 600, { kZoomPercent, 400 } },
        { kZoomPageWidth, 0, 100, 809, 600, { kZoomPageWidth, MulDiv(800, 100, 794) } },
        { kZoomPageHeight, 0, 100, 800, 609, { kZoomPageHeight, MulDiv(600, 100, 1123) } },
        { kZoomWholePage, 0, 100, 1000, 609, { kZoomWholePage, 53 } },
        { kZoomWholePage, 0, 100, 409, 2000, { kZoomWholePage, 50 } },
        { kZoomTwoPages, 0, 100, 1600, 2000, { kZoomTwoPages, MulDiv(1591, 100, 2 * 794 + 3) } },
        { kZoomTwoPages, 0, 100, 3000, 609, { kZoomTwoPages, 53 } },
        { kZoomManyPages, 0, 100, 1200, 600, { kZoomManyPages, MulDiv(1185, 100, 5 * 794) - 1 } },
        { kZoomManyPages, 30, 100, 1200, 600, { kZoomManyPages, 30 } },
        { kZoomPageWidth, 0, 100, 20, 600, { kZoomPageWidth, 10 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " percent " << c.percent);
        EXPECT_EQ(ResolveZoom(c.mode, c.percent, c.current, c.clientW, c.clientH, w100, h100), c.expected);
    }
}

TEST(ZoomTest, ZoomBoxItems)
{
    EXPECT_EQ(ZoomListItem(0), (ZoomSetting { kZoomPercent, 400 }));
    EXPECT_EQ(ZoomListItem(3), (ZoomSetting { kZoomPercent, 100 }));
    EXPECT_EQ(ZoomListItem(7), (ZoomSetting { kZoomPercent, 10 }));
    EXPECT_EQ(ZoomListItem(8)->mode, kZoomPageWidth);
    EXPECT_EQ(ZoomListItem(9)->mode, kZoomWholePage);
    EXPECT_EQ(ZoomListItem(10)->mode, kZoomTwoPages);
    EXPECT_FALSE(ZoomListItem(11));
    EXPECT_FALSE(ZoomListItem(-1));
}

PageGrid MakeGrid(int mode, int zoom, int clientW, int clientH, int dpi = 96)
{
    PageGrid g;
    g.dpiY = dpi;
    g.zoomMode = mode;
    g.zoom = zoom;
    g.clientW = clientW;
    g.clientH = clientH;
    return g;
}

TEST(PageGridTest, PixelsFollowMulDivOfZoomTimesUnits)
{
    struct Case {
        int zoom, dpi, units, pixels;
    };
    const Case cases[] = {
        { 100, 96, 2100, 794 },
        { 100, 96, 2970, 1123 },
        { 150, 96, 2100, 1191 },
        { 200, 96, 254, 192 },
        { 100, 192, 254, 192 },
        { 10, 96, 2970, 112 },
        { 400, 96, 1, 2 },
        { 75, 120, 1000, 354 },
    };
    for (const Case& c : cases) {
        PageGrid g = MakeGrid(kZoomPercent, c.zoom, 800, 600, c.dpi);
        EXPECT_EQ(g.ToPixels(c.units), MulDiv(c.zoom * c.units, c.dpi, 25400));
        EXPECT_EQ(g.ToPixels(c.units), c.pixels) << c.zoom << "% " << c.dpi << " dpi " << c.units;
        EXPECT_EQ(g.ToUnits(c.pixels), MulDiv(c.pixels, 25400, c.dpi * c.zoom));
    }
}

TEST(PageGridTest, ColumnsPositionsAndModeSwitches)
{
    struct Case {
        const char* what;
        int mode, zoom, clientW, clientH, pages;
        int columns, modeAfter, gridOriginX, gridOriginY;
    };
    // A4 at 50 %: 397 x 562 pixels; at 100 %: 794 x 1123.
    const Case cases[] = {
        { "one page fits: centred both ways", kZoomPercent, 50, 500, 700, 1, 1, kZoomPercent, (500 - 403) / 2,
            (700 - 567) / 2 },
        { "mode 1 with room for two becomes mode 6, left-aligned", kZoomPercent, 50, 900, 700, 3, 2, kZoomManyPages, 0,
            0 },
        { "mode 6 with room for one becomes mode 1, centred", kZoomManyPages, 50, 500, 700, 1, 1, kZoomPercent,
            (500 - 403) / 2, (700 - 567) / 2 },
        { "two pages side by side", kZoomTwoPages, 50, 900, 700, 3, 2, kZoomTwoPages, (900 - 803) / 2, 0 },
        { "page width keeps one column", kZoomPageWidth, 50, 2000, 700, 4, 1, kZoomPageWidth, (2000 - 403) / 2, 0 },
        { "too wide for the client: left edge", kZoomPercent, 100, 600, 400, 1, 1, kZoomPercent, 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PageGrid g = MakeGrid(c.mode, c.zoom, c.clientW, c.clientH);
        g.Layout(kA4, c.pages, 0);
        EXPECT_EQ(g.columns, c.columns);
        EXPECT_EQ(g.zoomMode, c.modeAfter);
        EXPECT_EQ(g.gridW, c.columns * (g.pageW + 3) + 3);
        EXPECT_EQ(g.rows, (c.pages + c.columns - 1) / c.columns);
        EXPECT_EQ(g.gridH, g.rows * (g.pageH + 3) + 3);
        EXPECT_EQ(g.gridOriginX, c.gridOriginX);
        EXPECT_EQ(g.gridOriginY, c.gridOriginY);
    }
}

TEST(PageGridTest, PagePositionsRowByRow)
{
    PageGrid g = MakeGrid(kZoomManyPages, 50, 1300, 2000);
    g.Layout(kA4, 7, 0);
    g.PlaceVisible(7);
    ASSERT_EQ(g.columns, 3); // (1300 - 3) / 400
    ASSERT_EQ(g.first, 0);
    ASSERT_EQ(g.last, 6);
    for (int i = 0; i < 7; ++i) {
        const Rect r = g.PageRect(i);
        EXPECT_EQ(r.left, 3 + (i % 3) * (g.pageW + 3)) << i;
        EXPECT_EQ(r.top, 3 + (i / 3) * (g.pageH + 3)) << i;
        EXPECT_EQ(r.Width(), g.pageW);
        EXPECT_EQ(r.Height(), g.pageH);
        EXPECT_EQ(g.PageAt({ r.left + 1, r.top + 1 }), i);
    }
    // The gaps between pages hit nothing.
    EXPECT_EQ(g.PageAt({ 1, 1 }), -1);
    EXPECT_EQ(g.PageAt({ 3 + g.pageW + 1, 10 }), -1);
}

TEST(PageGridTest, VisiblePagesFollowTheVerticalOrigin)
{
    PageGrid g = MakeGrid(kZoomPercent, 100, 900, 600);
    g.Layout(kA4, 10, 0);
    g.PlaceVisible(10);
    EXPECT_EQ(g.first, 0);
    EXPECT_EQ(g.last, 0); // (600 / 1126 + 1) x 1 - 1
    EXPECT_EQ(g.viewOriginY, 0);

    g.gridOriginY = -(1126 * 3 + 100); // the fourth page's top is 100 pixels above the client
    g.PlaceVisible(10);
    EXPECT_EQ(g.first, 3);
    EXPECT_EQ(g.viewOriginY, g.gridOriginY + 3 * 1126);
    EXPECT_EQ(g.PageRect(3).top, 3);
    EXPECT_EQ(g.PageRect(2).top, 3 - 1126); // above the first visible row
}

TEST(PageGridTest, CurrentRowIsBroughtIntoViewWhenOutside)
{
    PageGrid g = MakeGrid(kZoomPercent, 100, 900, 600);
    g.Layout(kA4, 10, 5);
    EXPECT_EQ(g.gridOriginY, -5 * 1126);
    // A current page that is partly visible keeps the origin.
    g.gridOriginY = -5 * 1126 + 300;
    g.Layout(kA4, 10, 5);
    EXPECT_EQ(g.gridOriginY, -5 * 1126 + 300);
    // The origin never goes past the end: clamped to clientH - gridH - 9.
    g.Layout(kA4, 10, 9);
    EXPECT_EQ(g.gridOriginY, std::max(-9 * 1126, 600 - g.gridH - 9));
}

TEST(PageGridTest, ScrollBarsAndSteps)
{
    PageGrid g = MakeGrid(kZoomPercent, 100, 900, 600);
    g.Layout(kA4, 3, 0);
    g.PlaceVisible(3);
    g.ComputeScrollScale();
    ASSERT_EQ(g.vScrollScale, 1);
    const ScrollBarState v = g.Vertical();
    EXPECT_TRUE(v.shown);
    EXPECT_EQ(v.range, 600 + (g.gridH - 600 + 9));
    EXPECT_EQ(v.position, 0);
    EXPECT_FALSE(g.Horizontal().shown);

    EXPECT_EQ(g.ScrollVertical(ScrollAction::LineForward), -60);
    EXPECT_EQ(g.gridOriginY, -60);
    EXPECT_EQ(g.ScrollVertical(ScrollAction::PageForward), -594);
    EXPECT_EQ(g.gridOriginY, -654);
    EXPECT_EQ(g.Vertical().position, 654);
    g.ScrollVertical(ScrollAction::ToEnd);
    EXPECT_EQ(g.gridOriginY, 600 - g.gridH - 6); // the grid ends 6 pixels above the bottom
    g.ScrollVertical(ScrollAction::PageForward);
    EXPECT_EQ(g.gridOriginY, 600 - g.gridH - 6);
    g.ScrollVertical(ScrollAction::Thumb, 100);
    EXPECT_EQ(g.Vertical().position, 100);
    g.ScrollVertical(ScrollAction::ToStart);
    EXPECT_EQ(g.gridOriginY, 0);
    EXPECT_EQ(g.ScrollVertical(ScrollAction::LineBack), 0);

    // Horizontal: at 200 % the page is wider than the client.
    PageGrid h = MakeGrid(kZoomPercent, 200, 900, 600);
    h.Layout(kA4, 1, 0);
    ASSERT_TRUE(h.Horizontal().shown);
    EXPECT_EQ(h.ScrollHorizontal(ScrollAction::LineForward), -90);
    EXPECT_EQ(h.Horizontal().position, 90);
    h.ScrollHorizontal(ScrollAction::ToEnd);
    EXPECT_EQ(h.gridOriginX, 900 - h.gridW);
}

TEST(PageGridTest, TallGridScalesScrollPositionsAndReachesTheLastPage)
{
    // 200 pages at 100 %: about 225000 pixels, far beyond 32767.
    PageGrid g = MakeGrid(kZoomPercent, 100, 900, 600);
    g.Layout(kA4, 200, 0);
    g.PlaceVisible(200);
    g.ComputeScrollScale();
    EXPECT_EQ(g.vScrollScale, (g.gridH - 600 + 8) / (32767 - 600) + 1);
    EXPECT_GT(g.vScrollScale, 1);
    const ScrollBarState v = g.Vertical();
    EXPECT_LE(v.MaxPosition(), 32767);
    // A line step moves by a whole multiple of the scale.
    const int moved = -g.ScrollVertical(ScrollAction::LineForward);
    EXPECT_EQ(moved % g.vScrollScale, 0);
    EXPECT_GE(moved, g.vScrollScale);
    // The thumb at the end shows the last page.
    g.ScrollVertical(ScrollAction::Thumb, g.Vertical().MaxPosition());
    g.PlaceVisible(200);
    EXPECT_EQ(g.last, 199);
    EXPECT_LE(g.PageRect(199).top + g.viewOriginY, 600);
    EXPECT_GE(g.PageRect(199).bottom + g.viewOriginY, 0);
}

TEST(PageGridTest, DamagedPageSizesStayWithinBounds)
{
    PageGrid g = MakeGrid(kZoomPercent, 400, 900, 600);
    g.Layout({ INT32_MAX, INT32_MAX }, 1000, 999);
    EXPECT_EQ(g.pageW, kMaxPagePixels);
    EXPECT_GT(g.gridH, 0);
    g.PlaceVisible(1000);
    EXPECT_GE(g.first, 0);
    EXPECT_LE(g.last, 999);
    g.Layout({ 0, -5 }, 3, 0);
    EXPECT_EQ(g.pageW, 1);
    EXPECT_EQ(g.pageH, 1);
}

TEST(PageGridTest, ScrollIntoViewMovesOnlyAsFarAsNeeded)
{
    PageGrid g = MakeGrid(kZoomPercent, 100, 900, 600);
    g.Layout(kA4, 3, 0);
    g.PlaceVisible(3);
    // A rectangle below the client area: its bottom comes to the client bottom.
    const Point d = g.ScrollIntoView({ 10, 700, 50, 750 });
    EXPECT_EQ(d.y, -150);
    EXPECT_EQ(g.gridOriginY, -150);
    // One above: its top comes to the client top.
    EXPECT_EQ(g.ScrollIntoView({ 10, -40, 50, 10 }).y, 40);
    // One inside: nothing moves.
    EXPECT_EQ(g.ScrollIntoView({ 10, 100, 50, 200 }).y, 0);
    // The grid is narrower than the client: it stays centred.
    EXPECT_EQ(g.gridOriginX, (900 - g.gridW) / 2);
    EXPECT_EQ(g.ScrollIntoView({ -100, 100, 50, 200 }).x, 0);
    EXPECT_EQ(g.gridOriginX, (900 - g.gridW) / 2);
    // A page taller than the client counts as shown while part of it is.
    EXPECT_EQ(g.ScrollIntoView({ 3, -500, 797, 623 }).y, 0);
    EXPECT_EQ(g.ScrollIntoView({ 3, 700, 797, 1823 }).y, -700);
}

} // namespace
} // namespace mirel
