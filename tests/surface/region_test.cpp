#include "surface/region.h"

#include <gtest/gtest.h>

#include <array>

namespace mirel {
namespace {

TEST(Region, RectangleCoversLeftTopButNotRightBottomEdge)
{
    const Region r = Region::rect({10, 20, 30, 40});
    EXPECT_TRUE(r.contains({10, 20}));
    EXPECT_TRUE(r.contains({29, 39}));
    EXPECT_FALSE(r.contains({30, 39}));
    EXPECT_FALSE(r.contains({29, 40}));
    EXPECT_EQ(r.boundingBox(), (Box{10, 20, 30, 40}));
    // Edges given the wrong way round are put in order.
    EXPECT_EQ(Region::rect({30, 40, 10, 20}), r);
}

TEST(Region, CombineAndOffset)
{
    const Region a = Region::rect({0, 0, 20, 20});
    const Region b = Region::rect({10, 10, 30, 30});
    struct Case {
        Region::Combine op;
        QPoint p;
        bool inside;
    };
    const Case cases[] = {
        {Region::Combine::Or, {5, 5}, true},    {Region::Combine::Or, {25, 25}, true},
        {Region::Combine::Or, {25, 5}, false},  {Region::Combine::And, {15, 15}, true},
        {Region::Combine::And, {5, 5}, false},  {Region::Combine::Xor, {5, 5}, true},
        {Region::Combine::Xor, {15, 15}, false}, {Region::Combine::Xor, {25, 25}, true},
        {Region::Combine::Diff, {5, 5}, true},  {Region::Combine::Diff, {15, 15}, false},
        {Region::Combine::Diff, {25, 25}, false}, {Region::Combine::Copy, {25, 25}, true},
        {Region::Combine::Copy, {5, 5}, false},
    };
    for (const Case& c : cases) {
        Region r = a;
        r.combine(b, c.op);
        EXPECT_EQ(r.contains(c.p), c.inside)
            << "op " << int(c.op) << " at " << c.p.x() << "," << c.p.y();
        // Offsetting moves the answer with it.
        r.offset(100, -50);
        EXPECT_EQ(r.contains(c.p + QPoint(100, -50)), c.inside) << "op " << int(c.op);
    }
}

TEST(Region, ShapesAndRectIntersection)
{
    const Region e = Region::ellipse({0, 0, 100, 50});
    EXPECT_TRUE(e.contains({50, 25}));
    EXPECT_FALSE(e.contains({2, 2}));  // outside the curve, inside the box
    EXPECT_TRUE(e.intersects({40, 20, 45, 30}));
    EXPECT_FALSE(e.intersects({0, 0, 4, 4}));

    const Region rr = Region::roundRect({0, 0, 100, 100}, 40, 40);
    EXPECT_TRUE(rr.contains({50, 1}));
    EXPECT_FALSE(rr.contains({1, 1}));

    const std::array<QPoint, 3> tri = {QPoint(0, 0), QPoint(100, 0), QPoint(0, 100)};
    const Region t = Region::polygon(tri);
    EXPECT_TRUE(t.contains({10, 10}));
    EXPECT_FALSE(t.contains({90, 90}));
    EXPECT_TRUE(Region::polygon(std::span(tri.data(), 2)).isEmpty());

    // A rectangle touching only the excluded right edge is not in the region.
    const Region r = Region::rect({0, 0, 10, 10});
    EXPECT_FALSE(r.intersects({10, 0, 20, 10}));
    EXPECT_TRUE(r.intersects({9, 9, 20, 20}));
    EXPECT_FALSE(r.intersects({5, 5, 5, 8}));  // empty box
}

TEST(Region, PolygonFillModes)
{
    // A pentagram: its centre is outside with alternate filling, inside with winding.
    const std::array<QPoint, 5> star = {QPoint(50, 0), QPoint(79, 90), QPoint(2, 35),
                                        QPoint(98, 35), QPoint(21, 90)};
    EXPECT_FALSE(Region::polygon(star, PolyFillMode::Alternate).contains({50, 50}));
    EXPECT_TRUE(Region::polygon(star, PolyFillMode::Winding).contains({50, 50}));
}

}  // namespace
}  // namespace mirel
