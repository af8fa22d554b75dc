#include "gui_app.h"

#include "surface/fixed_font_metrics.h"
#include "surface/font_mapper.h"
#include "surface/qt_font_metrics.h"

#include <gtest/gtest.h>

#include <climits>

namespace mirel {
namespace {

FontSpec fontSpec(int height, const char16_t* face = u"宋体", int charSet = CharSet::GB2312)
{
    FontSpec s;
    s.height = height;
    s.faceName = QString::fromUtf16(face);
    s.charSet = charSet;
    return s;
}

TEST(FixedFontMetrics, WidthsAndMetrics)
{
    FixedFontMetrics m;
    struct Case {
        int height;
        char32_t c;
        int width;
    };
    const Case cases[] = {
        {-370, U'公', 370}, {-370, U'a', 185}, {-370, U' ', 185}, {-371, U'W', 186},
        {-20, U'，', 20},   {-20, U'\t', 0},   {-20, U'\r', 0},   {-20, 0x1F600, 20},
    };
    for (const Case& c : cases)
        EXPECT_EQ(m.charWidth(fontSpec(c.height), c.c), c.width) << int(c.c);

    const FontMetricsValues v = m.metrics(fontSpec(-100));
    EXPECT_EQ(v.ascent, 80);
    EXPECT_EQ(v.descent, 20);
    EXPECT_EQ(v.height, 100);
    EXPECT_EQ(v.internalLeading, 0);
    EXPECT_EQ(v.averageWidth, 50);
    EXPECT_EQ(v.maxWidth, 100);
    // A positive height is the cell height, which here equals the em.
    EXPECT_EQ(m.charWidth(fontSpec(100), U'公'), 100);

    // Single bytes and GBK pairs: "公" is B9 AB in GBK.
    EXPECT_EQ(m.singleByteWidth(fontSpec(-40), 'x'), 20);
    EXPECT_EQ(m.singleByteWidth(fontSpec(-40), 0x1F), 0);
    EXPECT_EQ(m.singleByteWidth(fontSpec(-40), 0x80), 0);
    EXPECT_EQ(m.gbkCharWidth(fontSpec(-40), 0xB9, 0xAB), 40);

    // Tests may give single characters their own width.
    m.setCharWidth(U'i', 250);
    m.setCharWidth(U'公', 900);
    EXPECT_EQ(m.charWidth(fontSpec(-40), U'i'), 10);
    EXPECT_EQ(m.gbkCharWidth(fontSpec(-40), 0xB9, 0xAB), 36);
    EXPECT_EQ(m.charWidths(fontSpec(-40), u"公i文"), (std::vector<int>{36, 10, 40}));
    EXPECT_EQ(m.textWidth(fontSpec(-40), u"公i文"), 86);
    m.clearCharWidths();
    EXPECT_EQ(m.charWidth(fontSpec(-40), U'i'), 20);

    // A width asks for a horizontal stretch relative to the average width.
    FontSpec wide = fontSpec(-40);
    wide.width = 40;  // twice the average of 20
    EXPECT_DOUBLE_EQ(m.horizontalScale(wide), 2.0);
    EXPECT_EQ(m.charWidth(wide, U'公'), 80);
    EXPECT_EQ(m.metrics(wide).averageWidth, 40);
}

TEST(FixedFontMetrics, AbsurdHeightsSaturate)
{
    FixedFontMetrics m;
    EXPECT_EQ(m.charWidth(fontSpec(INT_MIN), U'公'), INT_MAX);
    EXPECT_EQ(m.charWidth(fontSpec(INT_MAX), U'a'), INT_MAX / 2 + 1);
    EXPECT_EQ(m.metrics(fontSpec(0)).height, FontSpec::kDefaultEm);
}

TEST(FixedFontMetrics, GbkDecoderCanBeReplaced)
{
    FixedFontMetrics m;
    m.setCharWidth(U'A', 100);
    m.setGbkDecoder([](unsigned char, unsigned char) { return U'A'; });
    EXPECT_EQ(m.gbkCharWidth(fontSpec(-100), 0xB9, 0xAB), 10);
}

class QtMetricsTest : public ::testing::Test {
protected:
    void SetUp() override { test::ensureGuiApp(); }
};

TEST_F(QtMetricsTest, FaceNamesMapToInstalledFonts)
{
    struct Case {
        const char16_t* face;
        const char* family;
        bool cjk;
    };
    const Case cases[] = {
        {u"宋体", "Noto Serif CJK SC", true},       {u"@宋体", "Noto Serif CJK SC", true},
        {u"黑体", "Noto Sans CJK SC", true},        {u"楷体_GB2312", "AR PL UKai CN", true},
        {u"楷体", "AR PL UKai CN", true},           {u"仿宋_GB2312", "AR PL UMing CN", true},
        {u"隶书", "AR PL UKai CN", true},           {u"Times New Roman", "DejaVu Serif", false},
        {u"arial", "DejaVu Sans", false},           {u"某个没有的字体", "Noto Serif CJK SC", true},
        {u"DejaVu Sans Mono", "DejaVu Sans Mono", false},
    };
    for (const Case& c : cases) {
        const ResolvedFace r = FontMapper::instance().resolve(QString::fromUtf16(c.face), 134);
        ASSERT_FALSE(r.families.isEmpty());
        EXPECT_EQ(r.families.front(), QString::fromLatin1(c.family)) << QString::fromUtf16(c.face).toStdString();
        EXPECT_EQ(r.cjk, c.cjk) << QString::fromUtf16(c.face).toStdString();
        // Every face can fall back to a Chinese font for Chinese characters.
        EXPECT_TRUE(r.families.contains(QStringLiteral("Noto Serif CJK SC")));
    }
    EXPECT_EQ(FontMapper::instance().resolve(QStringLiteral("NoSuchFace"), 0).families.front(),
              QStringLiteral("DejaVu Sans"));
    const QStringList names = FontMapper::instance().availableFaceNames();
    EXPECT_TRUE(names.contains(QStringLiteral(u"宋体")));
    EXPECT_TRUE(names.contains(QStringLiteral(u"仿宋_GB2312")));
    EXPECT_TRUE(names.contains(QStringLiteral("DejaVu Sans")));
}

TEST_F(QtMetricsTest, ChineseIsWiderThanLatinAndMeasurementIsStable)
{
    const QtFontMetrics a;
    const QtFontMetrics b;
    for (const char16_t* face : {u"宋体", u"黑体", u"楷体"}) {
        const FontSpec s = fontSpec(-370, face);
        const int han = a.charWidth(s, U'岚');
        const int i = a.charWidth(s, U'i');
        EXPECT_EQ(han, 370) << "one em for an ideograph";
        EXPECT_GT(han, i);
        EXPECT_GT(i, 0);
        // Another provider, another size: the same proportions.
        EXPECT_EQ(b.charWidth(s, U'岚'), han);
        EXPECT_EQ(b.charWidth(s, U'i'), i);
        const FontSpec big = fontSpec(-3700, face);
        EXPECT_NEAR(a.charWidth(big, U'i'), 10 * i, 5);
        EXPECT_EQ(a.charWidths(s, u"岚i"), (std::vector<int>{han, i}));
        // The GBK pair entry point agrees with the code point one (岚 = E1 B0).
        EXPECT_EQ(a.gbkCharWidth(s, 0xE1, 0xB0), han);
    }
    // Chinese faces have Chinese cell metrics.
    const FontMetricsValues m = a.metrics(fontSpec(-1000));
    EXPECT_EQ(m.ascent, 880);
    EXPECT_EQ(m.descent, 120);
    EXPECT_EQ(m.internalLeading, 0);
    EXPECT_EQ(m.averageWidth, 500);
    // Latin faces report their own, with internal leading.
    const FontMetricsValues l = a.metrics(fontSpec(-1000, u"Times New Roman", 0));
    EXPECT_GT(l.ascent, 800);
    EXPECT_GT(l.internalLeading, 0);
    EXPECT_EQ(l.height, l.ascent + l.descent);
    // A cell height asks for a smaller em.
    EXPECT_LT(a.emSize(fontSpec(1000, u"Times New Roman", 0)), 1000.0);
    EXPECT_DOUBLE_EQ(a.emSize(fontSpec(1000)), 1000.0);
    // Bold Latin is at least as wide as regular.
    FontSpec bold = fontSpec(-1000, u"Arial", 0);
    bold.weight = 700;
    EXPECT_GE(a.charWidth(bold, U'W'), a.charWidth(fontSpec(-1000, u"Arial", 0), U'W'));
    // Characters a Latin face lacks are measured in the fallback font.
    EXPECT_EQ(a.charWidth(fontSpec(-500, u"Times New Roman", 0), U'公'), 500);
}

TEST_F(QtMetricsTest, GbkPairDecoding)
{
    const QtFontMetrics m;
    // An invalid pair measures as the replacement character, never crashes.
    EXPECT_GE(m.gbkCharWidth(fontSpec(-100), 0x80, 0x20), 0);
    EXPECT_EQ(m.gbkCharWidth(fontSpec(-100), 0xB9, 0xAB), m.charWidth(fontSpec(-100), U'公'));
    EXPECT_EQ(m.gbkCharWidth(fontSpec(-100), 0xA3, 0xAC), m.charWidth(fontSpec(-100), U'，'));
}

}  // namespace
}  // namespace mirel
