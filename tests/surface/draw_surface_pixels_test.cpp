// Pixel tests: drawing into an offscreen bitmap and reading it back.

#include "gui_app.h"
#include "pixel_helpers.h"

#include "surface/draw_surface.h"
#include "surface/fixed_font_metrics.h"

#include <QPdfWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>

namespace mirel {
namespace {

using test::countColor;
using test::firstMismatch;
using test::pixelAt;

constexpr ColorRef kWhite = 0xFFFFFF;
constexpr ColorRef kRed = 0x0000FF;
constexpr ColorRef kGreen = 0x00FF00;
constexpr ColorRef kBlue = 0xFF0000;

class PixelTest : public ::testing::Test {
protected:
    void SetUp() override { test::ensureGuiApp(); }
    std::unique_ptr<DrawSurface> bitmap(int w = 40, int h = 40)
    {
        return DrawSurface::makeBitmap(QSize(w, h), 96, 96, kWhite, &metrics_);
    }
    FixedFontMetrics metrics_;
};

TEST_F(PixelTest, RectangleOutlineWidthsLandOnExpectedPixels)
{
    struct Case {
        int style;
        int width;
        int outer;  // pixels outside the box on the left/top
    };
    // Width w along coordinate x covers x - w/2 .. x - w/2 + w - 1; the
    // outline runs along the first and last pixel rows/columns of the box.
    // An inside-frame pen stays entirely in the box.
    const Case cases[] = {{LineStyle::Solid, 1, 0},
                          {LineStyle::Solid, 2, 1},
                          {LineStyle::Solid, 3, 1},
                          {LineStyle::InsideFrame, 2, 0},
                          {LineStyle::InsideFrame, 3, 0}};
    for (const Case& c : cases) {
        auto s = bitmap();
        s->setBrush(Brush::hollow());
        s->setPen(Pen{c.style, c.width, kRed});
        s->rectangle({10, 10, 30, 30});
        const int lo = 10 - c.outer;        // first covered pixel
        const int hi = lo + 20 - 1 + (c.style == LineStyle::InsideFrame ? 0 : c.width - 1);
        const int w = c.width;
        auto expected = [&](int x, int y) -> ColorRef {
            if (x < lo || x > hi || y < lo || y > hi)
                return kWhite;
            const bool edge = x < lo + w || x > hi - w || y < lo + w || y > hi - w;
            return edge ? kRed : kWhite;
        };
        EXPECT_EQ(firstMismatch(*s, expected), "") << "style " << c.style << " width " << c.width;
    }
}

TEST_F(PixelTest, FilledRectangleAndNullPen)
{
    auto s = bitmap();
    s->setPen(Pen{LineStyle::Solid, 1, kRed});
    s->setBrush(Brush::solid(kGreen));
    s->rectangle({5, 5, 15, 15});
    EXPECT_EQ(countColor(*s, kRed, 0, 0, 40, 40), 36);      // the ring 10 x 10
    EXPECT_EQ(countColor(*s, kGreen, 0, 0, 40, 40), 64);    // 8 x 8 inside
    EXPECT_EQ(pixelAt(*s, 15, 15), kWhite);

    // Without a pen the brush covers exactly [left, right) x [top, bottom).
    s->setPen(Pen::null());
    s->setBrush(Brush::solid(kBlue));
    s->rectangle({20, 20, 30, 25});
    EXPECT_EQ(countColor(*s, kBlue, 0, 0, 40, 40), 50);
    EXPECT_EQ(countColor(*s, kBlue, 20, 20, 30, 25), 50);
}

TEST_F(PixelTest, HatchBrushesDrawLinesOfTheHatchColour)
{
    struct Case {
        int hatch;
        std::function<int(int, int)> key;  // constant along one hatch line
    };
    const Case cases[] = {
        {Hatch::Horizontal, [](int, int y) { return y % 8; }},
        {Hatch::Vertical, [](int x, int) { return x % 8; }},
        {Hatch::ForwardDiagonal, [](int x, int y) { return ((x - y) % 8 + 8) % 8; }},
        {Hatch::BackwardDiagonal, [](int x, int y) { return (x + y) % 8; }},
    };
    for (const Case& c : cases) {
        auto s = bitmap(32, 32);
        s->setBkMode(BkMode::Transparent);
        s->fillRect({0, 0, 32, 32}, Brush::hatched(c.hatch, kBlue));
        // Every blue pixel lies on the same family of lines, every pixel is
        // blue or untouched, and one in eight lines is drawn.
        int blue = 0;
        int lineKey = -1;
        bool consistent = true;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const ColorRef p = pixelAt(*s, x, y);
                ASSERT_TRUE(p == kBlue || p == kWhite) << "hatch " << c.hatch;
                if (p != kBlue)
                    continue;
                ++blue;
                if (lineKey < 0)
                    lineKey = c.key(x, y);
                consistent = consistent && c.key(x, y) == lineKey;
            }
        EXPECT_TRUE(consistent) << "hatch " << c.hatch;
        EXPECT_EQ(blue, 32 * 32 / 8) << "hatch " << c.hatch;
    }

    // Cross hatches draw both directions; the opaque background mode fills
    // the gaps with the background colour.
    auto s = bitmap(32, 32);
    s->setBkMode(BkMode::Opaque);
    s->setBkColor(kGreen);
    s->fillRect({0, 0, 32, 32}, Brush::hatched(Hatch::Cross, kBlue));
    EXPECT_EQ(countColor(*s, kBlue, 0, 0, 32, 32), 32 * 32 - 28 * 28);
    EXPECT_EQ(countColor(*s, kGreen, 0, 0, 32, 32), 28 * 28);
}

TEST_F(PixelTest, ViewportOriginMovesDrawingButNotTheClip)
{
    auto s = bitmap(80, 80);
    EXPECT_EQ(s->setViewportOrigin({50, 40}), QPoint(0, 0));
    s->fillRect({0, 0, 10, 10}, Brush::solid(kRed));
    EXPECT_EQ(countColor(*s, kRed, 50, 40, 60, 50), 100);
    EXPECT_EQ(countColor(*s, kRed, 0, 0, 80, 80), 100);
    EXPECT_EQ(s->clipBox(), (Box{-50, -40, 30, 40}));

    // A clip set at one origin stays where it was on the device.
    s->setViewportOrigin({0, 0});
    s->intersectClipRect({0, 0, 10, 10});
    s->setViewportOrigin({5, 5});
    EXPECT_EQ(s->clipBox(), (Box{-5, -5, 5, 5}));
    EXPECT_TRUE(s->pointVisible({-5, -5}));
    EXPECT_FALSE(s->pointVisible({5, 5}));
    s->fillRect({0, 0, 20, 20}, Brush::solid(kGreen));
    EXPECT_EQ(countColor(*s, kGreen, 0, 0, 80, 80), 25);
    EXPECT_EQ(countColor(*s, kGreen, 5, 5, 10, 10), 25);
    s->offsetViewportOrigin(1, 2);
    EXPECT_EQ(s->viewportOrigin(), QPoint(6, 7));
}

TEST_F(PixelTest, ClipRegionsClipAndRestore)
{
    auto s = bitmap(40, 40);
    const int level = s->saveState();
    s->selectClipRegion(Region::ellipse({0, 0, 40, 40}));
    s->excludeClipRect({15, 15, 25, 25});
    EXPECT_TRUE(s->rectVisible({0, 18, 10, 22}));
    EXPECT_FALSE(s->rectVisible({16, 16, 24, 24}));
    ASSERT_TRUE(s->clipRegion());
    EXPECT_FALSE(s->clipRegion()->contains({20, 20}));
    s->fillRect({0, 0, 40, 40}, Brush::solid(kRed));
    EXPECT_EQ(pixelAt(*s, 1, 1), kWhite);    // corner outside the ellipse
    EXPECT_EQ(pixelAt(*s, 20, 20), kWhite);  // the excluded hole
    EXPECT_EQ(pixelAt(*s, 10, 20), kRed);
    EXPECT_EQ(pixelAt(*s, 20, 2), kRed);

    EXPECT_TRUE(s->restoreState(level));
    EXPECT_FALSE(s->clipRegion());
    s->fillRect({0, 0, 40, 40}, Brush::solid(kBlue));
    EXPECT_EQ(countColor(*s, kBlue, 0, 0, 40, 40), 1600);
    EXPECT_FALSE(s->restoreState(level));  // already used

    // Combining with no clip set starts from the whole device.
    s->selectClipRegion(Region::rect({0, 0, 10, 10}), Region::Combine::Or);
    EXPECT_EQ(s->clipBox(), (Box{0, 0, 40, 40}));
    s->selectClipRegion(Region::rect({0, 0, 10, 10}), Region::Combine::And);
    EXPECT_EQ(s->clipBox(), (Box{0, 0, 10, 10}));
    s->selectClipRegion(std::nullopt);
    EXPECT_EQ(s->clipBox(), (Box{0, 0, 40, 40}));
}

TEST_F(PixelTest, XorAndInvertUndoThemselves)
{
    auto s = bitmap(40, 40);
    s->fillRect({0, 0, 20, 40}, Brush::solid(0x336699));
    s->setRasterOp(RasterOp::XorPen);
    s->setBrush(Brush::hollow());
    s->setPen(Pen{LineStyle::Solid, 1, 0xFFFFFF});
    s->rectangle({5, 5, 35, 35});
    EXPECT_EQ(pixelAt(*s, 5, 5), 0x336699 ^ 0xFFFFFF);
    EXPECT_EQ(pixelAt(*s, 34, 34), 0x000000);
    s->rectangle({5, 5, 35, 35});
    auto expected = [](int x, int) -> ColorRef { return x < 20 ? 0x336699 : kWhite; };
    EXPECT_EQ(firstMismatch(*s, expected), "");
    // A dotted rubber band drawn twice leaves no trace either.
    s->setPen(Pen{LineStyle::Dot, 1, 0xFFFFFF});
    s->rectangle({3, 3, 38, 30});
    EXPECT_NE(firstMismatch(*s, expected), "");
    s->rectangle({3, 3, 38, 30});
    EXPECT_EQ(firstMismatch(*s, expected), "");

    s->setRasterOp(RasterOp::CopyPen);
    s->patBlt({0, 0, 40, 40}, BltOp::InvertDest);
    EXPECT_EQ(pixelAt(*s, 0, 0), 0x336699 ^ 0xFFFFFF);
    EXPECT_EQ(pixelAt(*s, 30, 0), 0x000000);
    s->invertRegion(Region::rect({0, 0, 40, 40}));
    EXPECT_EQ(firstMismatch(*s, expected), "");
}

TEST_F(PixelTest, LinesDashesAndCurrentPosition)
{
    auto s = bitmap(120, 20);
    s->setPen(Pen{LineStyle::Solid, 1, kRed});
    EXPECT_EQ(s->moveTo({0, 5}), QPoint(0, 0));
    s->lineTo({10, 5});
    EXPECT_EQ(s->currentPosition(), QPoint(10, 5));
    EXPECT_EQ(countColor(*s, kRed, 0, 5, 10, 6), 10);
    EXPECT_EQ(countColor(*s, kRed, 0, 0, 120, 5), 0);

    // A dashed pen asked for 4 pixels draws one pixel wide, with gaps.
    s->setPen(Pen{LineStyle::Dash, 4, kBlue});
    s->moveTo({0, 12});
    s->lineTo({110, 12});
    const int onLine = countColor(*s, kBlue, 0, 12, 120, 13);
    EXPECT_GT(onLine, 40);
    EXPECT_LT(onLine, 105);
    EXPECT_EQ(countColor(*s, kBlue, 0, 0, 120, 12) + countColor(*s, kBlue, 0, 13, 120, 20), 0);

    // Null pens draw nothing.
    s->setPen(Pen::null());
    s->lineTo({110, 0});
    EXPECT_EQ(countColor(*s, kBlue, 0, 0, 120, 20), onLine);
}

TEST_F(PixelTest, CurvedFigures)
{
    auto s = bitmap(100, 100);
    s->setPen(Pen::null());
    s->setBrush(Brush::solid(kRed));
    // A pie from the ray pointing right to the ray pointing up, counter-clockwise:
    // the upper right quarter.
    s->pie({0, 0, 100, 100}, {100, 50}, {50, 0});
    EXPECT_EQ(pixelAt(*s, 70, 30), kRed);
    EXPECT_EQ(pixelAt(*s, 30, 30), kWhite);
    EXPECT_EQ(pixelAt(*s, 70, 70), kWhite);
    EXPECT_EQ(pixelAt(*s, 97, 3), kWhite);  // outside the circle

    // Swapping the rays takes the other three quarters.
    s->setBrush(Brush::solid(kGreen));
    s->pie({0, 0, 100, 100}, {50, 0}, {100, 50});
    EXPECT_EQ(pixelAt(*s, 30, 30), kGreen);
    EXPECT_EQ(pixelAt(*s, 30, 70), kGreen);
    EXPECT_EQ(pixelAt(*s, 70, 70), kGreen);
    EXPECT_EQ(pixelAt(*s, 70, 30), kRed);

    auto e = bitmap(100, 60);
    e->setPen(Pen{LineStyle::Solid, 1, kBlue});
    e->setBrush(Brush::solid(kRed));
    e->ellipse({0, 0, 100, 60});
    EXPECT_EQ(pixelAt(*e, 50, 30), kRed);
    EXPECT_EQ(pixelAt(*e, 2, 2), kWhite);
    EXPECT_EQ(pixelAt(*e, 0, 30), kBlue);
    // An arc strokes only: the chord across it stays unfilled.
    auto a = bitmap(100, 100);
    a->setPen(Pen{LineStyle::Solid, 1, kBlue});
    a->arc({0, 0, 100, 100}, {100, 50}, {50, 0});
    EXPECT_GT(countColor(*a, kBlue, 50, 0, 100, 50), 50);
    EXPECT_EQ(countColor(*a, kBlue, 0, 0, 50, 100) + countColor(*a, kBlue, 50, 52, 100, 100), 0);
    EXPECT_EQ(pixelAt(*a, 80, 20), kWhite);
}

TEST_F(PixelTest, RegionsFillAndFrame)
{
    auto s = bitmap(40, 40);
    Region r = Region::rect({5, 5, 25, 25});
    r.combine(Region::rect({20, 20, 35, 35}), Region::Combine::Or);
    s->frameRegion(r, Brush::solid(kRed), 2, 2);
    EXPECT_EQ(pixelAt(*s, 5, 5), kRed);
    EXPECT_EQ(pixelAt(*s, 6, 6), kRed);
    EXPECT_EQ(pixelAt(*s, 7, 7), kWhite);
    EXPECT_EQ(pixelAt(*s, 34, 34), kRed);
    EXPECT_EQ(pixelAt(*s, 22, 22), kWhite);  // where the two parts overlap: inside
    EXPECT_EQ(pixelAt(*s, 4, 4), kWhite);

    s->setViewportOrigin({1, 1});
    s->fillRegion(Region::rect({0, 0, 2, 2}), Brush::solid(kGreen));
    EXPECT_EQ(countColor(*s, kGreen, 1, 1, 3, 3), 4);
    s->setBrush(Brush::solid(kBlue));
    s->paintRegion(Region::rect({10, 10, 12, 12}));
    EXPECT_EQ(countColor(*s, kBlue, 11, 11, 13, 13), 4);
}

TEST_F(PixelTest, PathsStrokeAndFill)
{
    auto s = bitmap(60, 60);
    s->setPen(Pen{LineStyle::Solid, 1, kBlue});
    s->setBrush(Brush::solid(kRed));
    s->beginPath();
    s->moveTo({10, 10});
    s->lineTo({50, 10});
    s->lineTo({10, 50});
    s->closeFigure();
    EXPECT_TRUE(s->pathOpen());
    EXPECT_EQ(countColor(*s, kBlue, 0, 0, 60, 60), 0);  // nothing drawn while building
    s->endPath();
    const std::vector<PathPoint> pts = s->pathPoints();
    ASSERT_EQ(pts.size(), 3u);
    EXPECT_EQ(pts[0], (PathPoint{{10, 10}, PathPoint::Type::MoveTo, false}));
    EXPECT_EQ(pts[1], (PathPoint{{50, 10}, PathPoint::Type::LineTo, false}));
    EXPECT_EQ(pts[2], (PathPoint{{10, 50}, PathPoint::Type::LineTo, true}));
    s->strokeAndFillPath();
    EXPECT_FALSE(s->hasPath());
    EXPECT_EQ(pixelAt(*s, 20, 20), kRed);
    EXPECT_EQ(pixelAt(*s, 40, 40), kWhite);
    EXPECT_EQ(pixelAt(*s, 30, 10), kBlue);

    // A path turned into a region.
    s->beginPath();
    s->rectangle({0, 0, 10, 10});
    s->endPath();
    const Region r = s->pathToRegion();
    EXPECT_TRUE(r.contains({5, 5}));
    EXPECT_FALSE(r.contains({20, 20}));
    EXPECT_FALSE(s->hasPath());
}

TEST_F(PixelTest, PicturesStretchCopyAndReadBack)
{
    QImage pic(2, 2, QImage::Format_RGB32);
    pic.setPixel(0, 0, qRgb(255, 0, 0));
    pic.setPixel(1, 0, qRgb(0, 255, 0));
    pic.setPixel(0, 1, qRgb(0, 0, 255));
    pic.setPixel(1, 1, qRgb(0, 0, 0));
    auto s = bitmap(40, 40);
    s->drawImage({10, 10, 30, 30}, pic);
    EXPECT_EQ(countColor(*s, kRed, 10, 10, 20, 20), 100);
    EXPECT_EQ(countColor(*s, kGreen, 20, 10, 30, 20), 100);
    EXPECT_EQ(countColor(*s, kBlue, 10, 20, 20, 30), 100);
    EXPECT_EQ(countColor(*s, 0, 20, 20, 30, 30), 100);
    EXPECT_EQ(pixelAt(*s, 9, 9), kWhite);
    s->drawImage({0, 0, 4, 4}, pic, Box{1, 1, 2, 2});  // just the black quarter
    EXPECT_EQ(countColor(*s, 0, 0, 0, 4, 4), 16);

    const QImage back = s->readImage({10, 10, 30, 30});
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.format(), QImage::Format_RGB888);
    EXPECT_EQ(back.size(), QSize(20, 20));
    EXPECT_EQ(back.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(back.pixelColor(19, 19), QColor(0, 0, 0));

    auto copy = s->makeCompatibleBitmap(QSize(20, 20));
    EXPECT_TRUE(copy->bitBlt({0, 0, 20, 20}, *s, {10, 10}));
    EXPECT_EQ(countColor(*copy, kGreen, 10, 0, 20, 10), 100);
    EXPECT_TRUE(copy->bitBlt({0, 0, 10, 10}, *s, {10, 10}, BltOp::Xor));
    EXPECT_EQ(countColor(*copy, 0, 0, 0, 10, 10), 100);  // red XOR red
}

TEST_F(PixelTest, PdfWriterIsAPrinterThatCannotBeReadBack)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QPdfWriter writer(dir.filePath("out.pdf"));
    writer.setResolution(300);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    {
        DrawSurface s(writer, DeviceOptions::forPdfWriter(writer));
        EXPECT_TRUE(s.deviceInfo().isPrinter);
        EXPECT_EQ(s.deviceInfo().dpiX, 300);
        EXPECT_EQ(s.deviceInfo().dpiY, 300);
        EXPECT_NEAR(s.deviceInfo().physicalOffset.x(), 118, 1);  // 10 mm at 300 dpi
        EXPECT_NEAR(s.deviceInfo().size.width(), 2244, 2);       // 190 mm
        EXPECT_FALSE(s.supportsRasterOps());
        EXPECT_TRUE(s.readImage({0, 0, 10, 10}).isNull());
        auto other = DrawSurface::makeBitmap(QSize(4, 4));
        EXPECT_TRUE(other->bitBlt({0, 0, 4, 4}, *other, {0, 0}));
        EXPECT_FALSE(other->bitBlt({0, 0, 4, 4}, s, {0, 0}));
        s.setPrinting(true);
        EXPECT_TRUE(s.isPrinting());
        s.setPen(Pen{LineStyle::Solid, 3, kRed});
        s.rectangle({0, 0, 500, 500});
        s.setRasterOp(RasterOp::XorPen);  // drawn as a plain copy here
        s.rectangle({10, 10, 400, 400});
    }
    EXPECT_GT(QFileInfo(dir.filePath("out.pdf")).size(), 500);
}

TEST_F(PixelTest, WrapsAnActivePainterAndGivesItsStateBack)
{
    QImage img(30, 30, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter painter(&img);
    painter.setClipRect(QRect(0, 0, 15, 30));
    painter.setPen(QPen(Qt::green));
    {
        DrawSurface s(painter);
        EXPECT_EQ(s.clipBox(), (Box{0, 0, 15, 30}));
        s.setPen(Pen::null());
        s.fillRect({0, 0, 30, 30}, Brush::solid(kRed));
        s.selectClipRegion(std::nullopt);  // the painter's own clip still holds
        s.fillRect({0, 0, 30, 5}, Brush::solid(kBlue));
        EXPECT_NE(s.image(), nullptr);
    }
    EXPECT_EQ(painter.pen().color(), QColor(Qt::green));
    EXPECT_EQ(painter.clipBoundingRect().toRect(), QRect(0, 0, 15, 30));
    painter.end();
    EXPECT_EQ(QColor(img.pixel(5, 20)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(img.pixel(5, 2)), QColor(0, 0, 255));
    EXPECT_EQ(QColor(img.pixel(20, 2)), QColor(255, 255, 255));
}

}  // namespace
}  // namespace mirel
