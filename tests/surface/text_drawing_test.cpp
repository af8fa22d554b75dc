// Text output on bitmap surfaces with the real fonts.

#include "gui_app.h"
#include "pixel_helpers.h"

#include "surface/draw_surface.h"
#include "surface/font_mapper.h"
#include "surface/system_colors.h"

#include <QDir>
#include <QRawFont>

#include <gtest/gtest.h>

#include <array>
#include <climits>

namespace mirel {
namespace {

using test::countColor;
using test::pixelAt;

constexpr ColorRef kWhite = 0xFFFFFF;

FontSpec face(const char16_t* name, int height, int escapement = 0)
{
    FontSpec f;
    f.faceName = QString::fromUtf16(name);
    f.height = height;
    f.escapement = escapement;
    f.orientation = escapement;
    return f;
}

// Bounding box of the pixels that are not white; empty when there are none.
Box inkBox(const DrawSurface& s)
{
    const QImage& img = *s.image();
    Box b{img.width(), img.height(), 0, 0};
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (pixelAt(s, x, y) != kWhite) {
                b.left = std::min(b.left, x);
                b.top = std::min(b.top, y);
                b.right = std::max(b.right, x + 1);
                b.bottom = std::max(b.bottom, y + 1);
            }
    return b.isEmpty() ? Box{} : b;
}

class TextTest : public ::testing::Test {
protected:
    void SetUp() override { test::ensureGuiApp(); }
    static std::unique_ptr<DrawSurface> bitmap(int w, int h)
    {
        return DrawSurface::makeBitmap(QSize(w, h));
    }
};

TEST_F(TextTest, AlignmentPlacesTheTextBox)
{
    struct Case {
        unsigned align;
        Box inside;  // where the ink of "公文" (2 x 40 px) must lie for a reference at (100, 50)
    };
    // Chinese cells: ascent 35, descent 5 for a 40-pixel em.
    const Case cases[] = {
        {TextAlign::Left | TextAlign::Top, {100, 50, 180, 90}},
        {TextAlign::Right | TextAlign::Top, {20, 50, 100, 90}},
        {TextAlign::Center | TextAlign::Top, {60, 50, 140, 90}},
        {TextAlign::Left | TextAlign::Baseline, {100, 15, 180, 55}},
        {TextAlign::Left | TextAlign::Bottom, {100, 10, 180, 50}},
    };
    for (const Case& c : cases) {
        auto s = bitmap(200, 100);
        s->setFont(face(u"宋体", -40));
        s->setBkMode(BkMode::Transparent);
        s->setTextAlign(c.align);
        s->textOut({100, 50}, u"公文");
        const Box ink = inkBox(*s);
        ASSERT_FALSE(ink.isEmpty()) << c.align;
        EXPECT_GE(ink.left, c.inside.left - 1) << c.align;
        EXPECT_LE(ink.right, c.inside.right + 1) << c.align;
        EXPECT_GE(ink.top, c.inside.top - 1) << c.align;
        EXPECT_LE(ink.bottom, c.inside.bottom + 1) << c.align;
        // The glyphs fill most of their cells.
        EXPECT_GT(ink.width(), 60) << c.align;
        EXPECT_GT(ink.height(), 28) << c.align;
    }
}

TEST_F(TextTest, RotatedTextRunsUpward)
{
    auto s = bitmap(100, 200);
    s->setFont(face(u"黑体", -30, 900));
    s->setBkMode(BkMode::Transparent);
    s->textOut({40, 170}, u"岚舟文字");
    const Box ink = inkBox(*s);
    ASSERT_FALSE(ink.isEmpty());
    // Four 30-pixel characters stacked upward from the reference point,
    // their tops to the left... i.e. the cells lie in x 40..70, y 50..170.
    EXPECT_GT(ink.height(), 100);
    EXPECT_LT(ink.width(), 32);
    EXPECT_GE(ink.left, 39);
    EXPECT_LE(ink.right, 71);
    EXPECT_LE(ink.bottom, 171);
    EXPECT_GE(ink.top, 49);
}

TEST_F(TextTest, ColoursBackgroundAndAdvances)
{
    auto s = bitmap(300, 60);
    s->setFont(face(u"宋体", -40));
    s->setTextColor(0x0000FF);
    s->setBkMode(BkMode::Opaque);
    s->setBkColor(0x00FF00);
    const std::array<int, 2> adv = {150, 40};
    s->textOut({0, 0}, u"公文", adv);
    // The background covers the text box: 190 x 40 cells.
    const int green = countColor(*s, 0x00FF00, 0, 0, 300, 60);
    EXPECT_GT(green, 190 * 40 / 2);
    EXPECT_LE(green, 190 * 40);
    EXPECT_EQ(countColor(*s, 0x00FF00, 190, 0, 300, 60), 0);
    EXPECT_EQ(countColor(*s, 0x00FF00, 0, 40, 300, 60), 0);
    // Text colour ink in both cells, the second one at its advance.
    EXPECT_GT(countColor(*s, 0x0000FF, 0, 0, 40, 40), 20);
    EXPECT_GT(countColor(*s, 0x0000FF, 150, 0, 190, 40), 20);
    EXPECT_EQ(countColor(*s, 0x0000FF, 42, 0, 148, 40), 0);
}

TEST_F(TextTest, ClippedTextOutAndUnderline)
{
    auto s = bitmap(200, 60);
    s->setFont(face(u"宋体", -40));
    s->setBkMode(BkMode::Transparent);
    s->extTextOut({0, 0}, TextOutOption::Clipped, {0, 0, 40, 60}, u"公文");
    EXPECT_EQ(inkBox(*s).right <= 40, true);
    EXPECT_GT(countColor(*s, 0, 0, 0, 40, 40) + 1, 1);

    auto u = bitmap(200, 60);
    FontSpec f = face(u"Times New Roman", -40);
    f.charSet = CharSet::Ansi;
    f.underline = true;
    u->setFont(f);
    u->setBkMode(BkMode::Transparent);
    u->setTextAlign(TextAlign::Baseline);
    u->textOut({10, 40}, u"ab cd");
    const int width = u->textExtent(u"ab cd").width();
    // One row under the baseline is covered across the whole text width.
    bool fullRow = false;
    for (int y = 41; y < 50 && !fullRow; ++y)
        fullRow = countColor(*u, 0, 10, y, 10 + width, y + 1) >= width - 1;
    EXPECT_TRUE(fullRow);
}

TEST_F(TextTest, GlyphOutlinesGoIntoThePath)
{
    auto s = bitmap(120, 60);
    s->setFont(face(u"黑体", -40));
    s->beginPath();
    s->textOut({0, 0}, u"公");
    s->endPath();
    EXPECT_GT(s->pathPoints().size(), 8u);
    EXPECT_EQ(inkBox(*s), Box{});  // nothing drawn yet
    s->setPen(Pen{LineStyle::Solid, 1, 0x0000FF});
    s->strokePath();
    const Box ink = inkBox(*s);
    EXPECT_FALSE(ink.isEmpty());
    EXPECT_LE(ink.right, 42);
}

TEST_F(TextTest, AbsurdFontSizesDoNotBreakDrawing)
{
    auto s = bitmap(40, 40);
    for (int height : {INT_MIN, -100000, 0, 1, INT_MAX}) {
        s->setFont(face(u"宋体", height));
        s->textOut({0, 0}, u"公a");
        s->extTextOut({0, 0}, TextOutOption::Opaque | TextOutOption::Clipped, {0, 0, 40, 40}, u"公");
    }
    // Measurements saturate; the surface keeps working afterwards.
    s->setFont(face(u"宋体", INT_MIN));
    EXPECT_EQ(s->textExtent(u"公文a").width(), INT_MAX);
    s->fillRect({0, 0, 40, 40}, Brush::solid(0x00FF00));
    EXPECT_EQ(countColor(*s, 0x00FF00, 0, 0, 40, 40), 1600);
}

// Chinese glyphs are really drawn, not missing-glyph boxes: the mapped font
// has each character, and the drawings are inked and differ from each other
// (boxes would all look alike).
TEST_F(TextTest, ChineseFacesRenderRealGlyphs)
{
    for (const char16_t* name : {u"宋体", u"黑体", u"楷体", u"仿宋_GB2312", u"隶书"}) {
        const QString family = FontMapper::instance().resolve(QString::fromUtf16(name), 134).families.front();
        QFont probe(family);
        probe.setPixelSize(40);
        const QRawFont raw = QRawFont::fromFont(probe);
        std::vector<QImage> shots;
        for (const char16_t* ch : {u"岚", u"舟", u"公", u"文"}) {
            EXPECT_TRUE(raw.supportsCharacter(QString::fromUtf16(ch).front()))
                << family.toStdString();
            auto s = bitmap(48, 48);
            s->setFont(face(name, -40));
            s->textOut({4, 4}, QStringView(ch));
            EXPECT_GT(countColor(*s, 0, 0, 0, 48, 48), 20);
            shots.push_back(s->image()->copy());
        }
        for (std::size_t i = 0; i < shots.size(); ++i)
            for (std::size_t j = i + 1; j < shots.size(); ++j)
                EXPECT_NE(shots[i], shots[j]) << "chars " << i << " " << j;
    }
}

// A small page with shapes and text; written as a PNG when
// MIREL_SURFACE_SAMPLE_DIR names a folder, for looking at.
TEST_F(TextTest, SamplePage)
{
    auto s = bitmap(640, 420);
    s->fillRect({0, 0, 640, 420}, Brush::solid(0x808080));
    s->setViewportOrigin({20, 20});
    s->fillRect({0, 0, 600, 380}, Brush::solid(kWhite));
    s->fillRect({600, 1, 601, 381}, Brush::solid(0));
    s->fillRect({1, 380, 601, 381}, Brush::solid(0));
    s->setPen(Pen{LineStyle::Solid, 1, 0xC0C0C0});
    for (const QPoint& c : {QPoint(40, 40), QPoint(560, 40), QPoint(40, 340), QPoint(560, 340)}) {
        const int dx = c.x() < 300 ? -20 : 20;
        const int dy = c.y() < 200 ? -20 : 20;
        s->moveTo(c);
        s->lineTo(c + QPoint(dx, 0));
        s->moveTo(c);
        s->lineTo(c + QPoint(0, dy));
    }

    s->setBkMode(BkMode::Transparent);
    s->setTextColor(0);
    s->setFont(face(u"宋体", -36));
    s->textOut({60, 50}, u"岚舟文字 公文 Song");
    s->setFont(face(u"黑体", -36));
    s->textOut({60, 100}, u"岚舟文字 公文 Hei");
    s->setTextColor(0x0000FF);
    s->setFont(face(u"楷体", -28));
    s->textOut({60, 150}, u"楷体 仿宋 隶书");

    s->setPen(Pen{LineStyle::TwoPixelSolid, 0, 0xA00000});
    s->setBrush(Brush::hatched(Hatch::DiagonalCross, 0x008000));
    s->rectangle({60, 200, 180, 300});
    s->setBrush(Brush::solid(0x00C0FF));
    s->setPen(Pen{LineStyle::Solid, 1, 0});
    s->ellipse({200, 200, 320, 300});
    s->setBrush(Brush::solid(0x0000FF));
    s->pie({340, 200, 440, 300}, {440, 250}, {390, 200});
    for (int style = 0; style <= 4; ++style) {
        s->setPen(Pen{style, 1, 0});
        s->moveTo({460, 205 + style * 20});
        s->lineTo({580, 205 + style * 20});
    }
    s->setTextColor(0x0000C0);
    s->setFont(face(u"黑体", -24, 900));
    s->textOut({560, 370}, u"竖排公文");

    EXPECT_GT(countColor(*s, 0, 80, 70, 560, 140), 500);  // ink of the two black text rows
    if (const QByteArray dir = qgetenv("MIREL_SURFACE_SAMPLE_DIR"); !dir.isEmpty()) {
        EXPECT_TRUE(s->image()->save(QDir(QString::fromLocal8Bit(dir)).filePath("surface_sample.png")));
    }
}

}  // namespace
}  // namespace mirel
