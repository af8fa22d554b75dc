#include "surface/recording_surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace mirel {
namespace {

TEST(RecordingSurface, RecordsCallsInOrder)
{
    RecordingSurface s;
    s.setPen(Pen{LineStyle::Dash, 1, 0x0000FF});
    s.setBrush(Brush::hatched(Hatch::Cross, 0x00FF00));
    s.setBkMode(BkMode::Transparent);
    s.rectangle({10, 20, 110, 70});
    const std::array<QPoint, 3> pts = {QPoint(0, 0), QPoint(5, -5), QPoint(10, 0)};
    s.polygon(pts);
    s.moveTo({1, 2});
    s.lineTo({3, 4});
    s.setFont(FontSpec{-16, 0, 900, 900, 700, true, false, false, 134, QStringLiteral(u"黑体")});
    s.setTextColor(0x123456);
    s.setTextAlign(TextAlign::Center | TextAlign::Baseline);
    const std::array<int, 2> adv = {16, 17};
    s.textOut({5, 5}, u"公\"文", adv);
    s.fillRect({0, 0, 4, 4}, Brush::solid(0xFFFFFF));
    s.drawImage({0, 0, 8, 8}, QImage(2, 3, QImage::Format_RGB32));

    const std::vector<std::string> expected = {
        "pen 1 1 0x0000FF",
        "brush hatch 4 0x00FF00",
        "bkMode transparent",
        "rectangle 10,20,110,70",
        "polygon 0,0 5,-5 10,0",
        "moveTo 1,2",
        "lineTo 3,4",
        "font -16 0 900 900 700 1 0 0 134 \"黑体\"",
        "textColor 0x123456",
        "textAlign 30",
        "textOut 5,5 \"公\\\"文\" [16 17]",
        "fillRect 0,0,4,4 solid 0xFFFFFF",
        "drawImage 0,0,8,8 2x3",
    };
    EXPECT_EQ(s.calls(), expected);
    EXPECT_EQ(s.text().substr(0, 17), "pen 1 1 0x0000FF\n");
    s.clear();
    EXPECT_TRUE(s.calls().empty());
}

TEST(RecordingSurface, KeepsStateLikeARealSurface)
{
    RecordingSurface s;
    EXPECT_EQ(s.deviceInfo().dpiY, 96);
    s.setViewportOrigin({100, 50});
    s.intersectClipRect({0, 0, 10, 10});
    EXPECT_EQ(s.clipBox(), (Box{0, 0, 10, 10}));
    s.setViewportOrigin({0, 0});
    EXPECT_EQ(s.clipBox(), (Box{100, 50, 110, 60}));
    EXPECT_TRUE(s.rectVisible({105, 55, 200, 200}));
    EXPECT_FALSE(s.rectVisible({0, 0, 100, 50}));

    // A path can be read back; a rectangle is one closed figure of four points.
    s.beginPath();
    s.rectangle({0, 0, 10, 5});
    s.moveTo({20, 20});
    s.lineTo({30, 20});
    s.endPath();
    const std::vector<PathPoint> pts = s.pathPoints();
    ASSERT_EQ(pts.size(), 6u);
    EXPECT_EQ(pts[0].type, PathPoint::Type::MoveTo);
    EXPECT_EQ(pts[0].point, QPoint(0, 0));
    EXPECT_EQ(pts[2].point, QPoint(9, 4));  // the outline runs along the last pixels
    EXPECT_TRUE(pts[3].closesFigure);
    EXPECT_EQ(pts[4], (PathPoint{{20, 20}, PathPoint::Type::MoveTo, false}));
    EXPECT_EQ(pts[5], (PathPoint{{30, 20}, PathPoint::Type::LineTo, false}));

    // Curves read back as Bézier points unless flattened.
    s.abortPath();
    s.beginPath();
    s.ellipse({0, 0, 101, 101});
    s.endPath();
    const std::vector<PathPoint> curve = s.pathPoints();
    ASSERT_FALSE(curve.empty());
    EXPECT_EQ(curve.front().type, PathPoint::Type::MoveTo);
    EXPECT_NE(std::count_if(curve.begin(), curve.end(),
                            [](const PathPoint& p) { return p.type == PathPoint::Type::BezierTo; }),
              0);
    for (const PathPoint& p : s.pathPoints(true)) {
        EXPECT_NE(p.type, PathPoint::Type::BezierTo);
        const double d = std::hypot(p.point.x() - 50.0, p.point.y() - 50.0);
        EXPECT_NEAR(d, 50.0, 1.5);
    }

    // Text extents come from the fixed metrics: Chinese one em, Latin half.
    s.setFont(FontSpec{-20, 0, 0, 0, 400, false, false, false, 134, QStringLiteral(u"宋体")});
    EXPECT_EQ(s.textExtent(u"公文ab"), QSize(60, 20));
    EXPECT_EQ(s.charWidths(u"公a"), (std::vector<int>{20, 10}));
    EXPECT_EQ(s.textMetrics().ascent, 16);
}

TEST(RecordingSurface, SaveAndRestoreAreRecordedAndWork)
{
    RecordingSurface s;
    s.setPen(Pen{LineStyle::Solid, 3, 0x0000FF});
    EXPECT_EQ(s.saveState(), 1);
    s.setPen(Pen::null());
    s.setViewportOrigin({7, 7});
    EXPECT_TRUE(s.restoreState());
    EXPECT_EQ(s.pen(), (Pen{LineStyle::Solid, 3, 0x0000FF}));
    EXPECT_EQ(s.viewportOrigin(), QPoint(0, 0));
    EXPECT_EQ(s.calls().back(), "restoreState -1");
    EXPECT_FALSE(s.restoreState());
}

TEST(RecordingFormat, Values)
{
    EXPECT_EQ(rec::color(0xA00000), "0xA00000");
    EXPECT_EQ(rec::color(0x1), "0x000001");
    EXPECT_EQ(rec::box({-1, 2, 3, -4}), "-1,2,3,-4");
    EXPECT_EQ(rec::quoted(u"a\nb\\"), "\"a\\nb\\\\\"");
    EXPECT_EQ(rec::brush(Brush::hollow()), "hollow");
    EXPECT_EQ(rec::brush(Brush::fromPattern(QImage(8, 4, QImage::Format_RGB32))), "pattern 8x4");
    Region r = Region::rect({0, 0, 2, 2});
    r.combine(Region::rect({5, 0, 6, 2}), Region::Combine::Or);
    EXPECT_EQ(rec::region(r), "[0,0,2,2 5,0,6,2]");
}

}  // namespace
}  // namespace mirel
