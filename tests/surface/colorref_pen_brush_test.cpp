#include "surface/brush.h"
#include "surface/colorref.h"
#include "surface/draw_surface.h"
#include "surface/pen.h"

#include <gtest/gtest.h>

namespace mirel {
namespace {

TEST(ColorRef, ConvertsBothWays)
{
    struct Case {
        ColorRef ref;
        int r, g, b;
    };
    const Case cases[] = {
        {0x000000, 0, 0, 0},       {0x0000FF, 255, 0, 0},     {0x00FF00, 0, 255, 0},
        {0xFF0000, 0, 0, 255},     {0xA00000, 0, 0, 0xA0},    {0xC0C0C0, 192, 192, 192},
        {0x123456, 0x56, 0x34, 0x12},
    };
    for (const Case& c : cases) {
        const QColor q = toQColor(c.ref);
        EXPECT_EQ(q.red(), c.r) << std::hex << c.ref;
        EXPECT_EQ(q.green(), c.g) << std::hex << c.ref;
        EXPECT_EQ(q.blue(), c.b) << std::hex << c.ref;
        EXPECT_EQ(q.alpha(), 255);
        EXPECT_EQ(fromQColor(q), c.ref);
        EXPECT_EQ(Rgb(c.r, c.g, c.b), c.ref);
    }
    // The high byte (as in the "no fill colour" value) names no colour channel.
    EXPECT_EQ(toQColor(kNoFillColor), QColor(0, 0, 0));
    EXPECT_EQ(fromQColor(QColor(1, 2, 3, 10)), Rgb(1, 2, 3));
}

TEST(Pen, LineStyleCodesMapToQtPens)
{
    struct Case {
        int code;
        int width;
        Qt::PenStyle style;
        int drawnWidth;
        bool insideFrame;
    };
    const Case cases[] = {
        {LineStyle::Solid, 3, Qt::SolidLine, 3, false},
        {LineStyle::Solid, 0, Qt::SolidLine, 1, false},
        {LineStyle::Dash, 4, Qt::DashLine, 1, false},
        {LineStyle::Dot, 2, Qt::DotLine, 1, false},
        {LineStyle::DashDot, 5, Qt::DashDotLine, 1, false},
        {LineStyle::DashDotDot, 1, Qt::DashDotDotLine, 1, false},
        {LineStyle::Null, 4, Qt::NoPen, 1, false},
        {LineStyle::InsideFrame, 4, Qt::SolidLine, 4, true},
        {LineStyle::TwoPixelSolid, 0, Qt::SolidLine, 2, false},
        {LineStyle::TwoPixelSolid, 5, Qt::SolidLine, 5, false},
        {LineStyle::ThreePixelSolid, 0, Qt::SolidLine, 3, false},
        {LineStyle::DoubleThin, 2, Qt::SolidLine, 2, false},
        {LineStyle::FatOuterThinInner, 1, Qt::SolidLine, 1, false},
        {77, 2, Qt::SolidLine, 2, false},
    };
    for (const Case& c : cases) {
        const ResolvedPen r = resolvePen(Pen{c.code, c.width, 0});
        EXPECT_EQ(r.qtStyle, c.style) << "code " << c.code;
        EXPECT_EQ(r.width, c.drawnWidth) << "code " << c.code;
        EXPECT_EQ(r.insideFrame, c.insideFrame) << "code " << c.code;
        EXPECT_EQ(r.visible, c.code != LineStyle::Null) << "code " << c.code;
        const QPen q = toQPen(Pen{c.code, c.width, 0x0000FF});
        EXPECT_EQ(q.style(), c.style) << "code " << c.code;
        if (c.style != Qt::NoPen) {
            EXPECT_EQ(q.width(), c.drawnWidth) << "code " << c.code;
            EXPECT_EQ(q.color(), QColor(255, 0, 0));
        }
    }
    EXPECT_TRUE(isCompositeLineStyle(102));
    EXPECT_TRUE(isCompositeLineStyle(106));
    EXPECT_FALSE(isCompositeLineStyle(101));
    EXPECT_FALSE(isCompositeLineStyle(107));
}

TEST(Brush, HatchIndicesMapToQtPatterns)
{
    const Qt::BrushStyle expected[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                                       Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    for (int i = 0; i < 6; ++i) {
        const Brush b = Brush::hatched(i, 0x0000FF);
        EXPECT_EQ(b.kind, Brush::Kind::Hatched);
        EXPECT_EQ(qtHatchStyle(i), expected[i]);
        EXPECT_EQ(toQBrush(b).style(), expected[i]);
        EXPECT_EQ(toQBrush(b).color(), QColor(255, 0, 0));
    }
    // The "no hatch" value and out-of-range indices give a hollow brush.
    for (int bad : {-1, 6, Hatch::None})
        EXPECT_TRUE(Brush::hatched(bad, 0).isHollow()) << bad;
    EXPECT_EQ(toQBrush(Brush::hollow()).style(), Qt::NoBrush);
    EXPECT_EQ(toQBrush(Brush::solid(0x00FF00)).color(), QColor(0, 255, 0));
    EXPECT_TRUE(Brush::fromPattern(QImage()).isHollow());
}

}  // namespace
}  // namespace mirel
