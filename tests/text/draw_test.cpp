// Drawing text through the surface: the calls a text object makes (fonts,
// positions, advances, effects, background, ruling lines, names) on a
// recording surface, and pixels of real glyphs in an image.
#include "model/view_context.h"
#include "support/test_view.h"
#include "surface/draw_surface.h"
#include "surface/gui_app.h"
#include "surface/recording_surface.h"
#include "text_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

using namespace mirel;
using mirel::test::Cells;

namespace {

// The recorded lines that start with a prefix.
std::vector<std::string> Lines(const RecordingSurface& dc, std::string_view prefix)
{
    std::vector<std::string> out;
    for (const std::string& line : dc.calls())
        if (line.rfind(prefix, 0) == 0)
            out.push_back(line);
    return out;
}

// The advances of a recorded textOut line.
std::vector<int> Advances(const std::string& line)
{
    std::vector<int> out;
    const size_t open = line.rfind('[');
    if (open == std::string::npos)
        return out;
    std::string_view rest(line);
    rest.remove_prefix(open + 1);
    while (!rest.empty() && rest.front() != ']') {
        int v = 0;
        size_t used = 0;
        while (used < rest.size() && (rest[used] == '-' || (rest[used] >= '0' && rest[used] <= '9')))
            ++used;
        v = std::stoi(std::string(rest.substr(0, used)));
        out.push_back(v);
        rest.remove_prefix(used);
        while (!rest.empty() && rest.front() == ' ')
            rest.remove_prefix(1);
    }
    return out;
}

class NamesView : public test::TestView {
public:
    bool ShowsObjectNames() const override { return true; }
};

}  // namespace

class Drawing : public test::LayoutTest {
protected:
    test::TestView view;   // 100 %, 96 dpi: 1 unit = 0.378 pixels

    // Glyph outlines (hollow and raised text) need the font database.
    void SetUp() override { test::ensureGuiApp(); }

    std::unique_ptr<CTextObj> Laid(int inner, std::string_view text, const SentenceAttributes& a = {},
                                   ParagraphAttributes para = {})
    {
        auto box = Box(inner);
        box->GetRow(0)->SetParagraph(para);
        Append(*box, text, a);
        Relayout(*box);
        return box;
    }
};

// "甲乙" at 15, 35 (units): 6, 13 in pixels; each character 3.70 mm is 14
// pixels; the font's em is 14 pixels; the clip is the inner width.
TEST_F(Drawing, PlainText)
{
    const auto box = Laid(400, "甲乙");
    RecordingSurface dc;
    box->Draw(view, dc);
    EXPECT_EQ(Lines(dc, "intersectClipRect"), (std::vector<std::string>{"intersectClipRect 6,0,157,756"}));
    EXPECT_EQ(Lines(dc, "font"), (std::vector<std::string>{"font -14 0 0 0 400 0 0 0 134 \"宋体\""}));
    EXPECT_EQ(Lines(dc, "textOut"), (std::vector<std::string>{"textOut 6,13 \"甲乙\" [14 14]"}));
    EXPECT_EQ(Lines(dc, "textColor"), (std::vector<std::string>{"textColor 0x000000"}));
    EXPECT_EQ(dc.calls().front(), "saveState");
    EXPECT_EQ(dc.calls().back().rfind("restoreState", 0), 0u);

    // Bold italic Latin at 12 points, underlined, in red.
    SentenceAttributes a;
    a.faceName = "Arial";
    a.sizeCode = 12;
    a.weight = 700;
    a.italic = 1;
    a.underline = 1;
    a.color = 0x0000FF;
    const auto latin = Laid(400, "Hi", a);
    RecordingSurface dc2;
    latin->Draw(view, dc2);
    EXPECT_EQ(Lines(dc2, "font"), (std::vector<std::string>{"font -16 0 0 0 700 1 1 0 0 \"Arial\""}));
    EXPECT_EQ(Lines(dc2, "textColor"), (std::vector<std::string>{"textColor 0x0000FF"}));
}

TEST_F(Drawing, Effects)
{
    struct Case {
        int effect;
        std::vector<std::string> calls;   // the text-drawing calls, in order
    };
    const Case cases[] = {
        {1, {"textColor 0xC0C0C0", "textOut 8,15 \"甲乙\" [14 14]", "textColor 0x000000", "textOut 6,13 \"甲乙\" [14 14]"}},
        {3, {"pen 0 1 0x000000", "beginPath", "textOut 6,13 \"甲乙\" [14 14]", "endPath", "strokePath"}},
        {4, {"textColor 0xAAAAAA", "textOut 7,14 \"甲乙\" [14 14]", "textColor 0x000000", "textOut 6,13 \"甲乙\" [14 14]"}},
        {5, {"textColor 0x000000", "textOut 7,14 \"甲乙\" [14 14]", "textColor 0x000000", "textOut 6,13 \"甲乙\" [14 14]"}},
        {6, {"textColor 0xAAAAAA", "textOut 5,12 \"甲乙\" [14 14]", "textColor 0x000000", "textOut 6,13 \"甲乙\" [14 14]"}},
        {7, {"textColor 0x000000", "textOut 5,12 \"甲乙\" [14 14]", "textColor 0x000000", "textOut 6,13 \"甲乙\" [14 14]"}},
    };
    for (const Case& c : cases) {
        SentenceAttributes a;
        a.effect = c.effect;
        const auto box = Laid(400, "甲乙", a);
        RecordingSurface dc;
        box->Draw(view, dc);
        std::vector<std::string> text;
        for (const std::string& line : dc.calls())
            for (const char* p : {"textColor", "textOut", "beginPath", "endPath", "strokePath", "pen "})
                if (line.rfind(p, 0) == 0)
                    text.push_back(line);
        // The pen of the hollow effect is put back afterwards.
        if (c.effect == 3 && !text.empty() && text.back().rfind("pen", 0) == 0)
            text.pop_back();
        EXPECT_EQ(text, c.calls) << "effect " << c.effect;
    }
    // Raised: each character in layers from (d-1, d-1) to (0, 0), the top one white.
    SentenceAttributes raised;
    raised.effect = 2;
    const auto box = Laid(400, "甲乙", raised);
    RecordingSurface dc;
    box->Draw(view, dc);
    EXPECT_EQ(Lines(dc, "beginPath").size(), 10u);   // d = 5 layers for each of two characters
    const auto outs = Lines(dc, "textOut");
    ASSERT_EQ(outs.size(), 10u);
    EXPECT_EQ(outs[0], "textOut 10,17 \"甲\" [14]");
    EXPECT_EQ(outs[4], "textOut 6,13 \"甲\" [14]");
    EXPECT_EQ(outs[9], "textOut 20,13 \"乙\" [14]");
    const auto brushes = Lines(dc, "brush");
    ASSERT_GE(brushes.size(), 5u);
    EXPECT_EQ(brushes[3], "brush solid 0x000000");
    EXPECT_EQ(brushes[4], "brush solid 0xFFFFFF");
}

TEST_F(Drawing, BackgroundColour)
{
    SentenceAttributes a;
    a.backColor = 0x00FFFF;
    const auto box = Laid(400, "甲乙", a);
    RecordingSurface dc;
    box->Draw(view, dc);
    EXPECT_EQ(Lines(dc, "fillRect"), (std::vector<std::string>{"fillRect 6,13,34,27 solid 0x00FFFF"}));
}

// The advances of a widened run add up to its width, the extra spread over
// the gaps between characters.
TEST_F(Drawing, JustifiedAdvancesFillTheRun)
{
    const auto box = Laid(160, "甲乙丙丁戊己");
    const CSentence& s = *box->GetRow(0)->GetSentence(0);
    ASSERT_EQ(s.GetRect().Width(), 160);
    RecordingSurface dc;
    box->Draw(view, dc);
    const auto outs = Lines(dc, "textOut");
    ASSERT_EQ(outs.size(), 2u);
    const std::vector<int> adv = Advances(outs[0]);   // the first row
    ASSERT_EQ(adv.size(), 4u);
    EXPECT_EQ(std::accumulate(adv.begin(), adv.end(), 0), view.ToPixels(15 + 160) - view.ToPixels(15));
    EXPECT_GE(*std::min_element(adv.begin(), adv.end()), 14);

    // The spaces that end a full row take no width.
    const auto latin = Laid(148, "ab cd ef gh");
    RecordingSurface dc2;
    latin->Draw(view, dc2);
    const auto lines = Lines(dc2, "textOut");
    ASSERT_EQ(lines.size(), 2u);
    const std::vector<int> first = Advances(lines[0]);
    ASSERT_EQ(first.size(), 9u);
    EXPECT_EQ(first.back(), 0);
}

TEST_F(Drawing, NameOfAnEmptyObjectOnScreenOnly)
{
    auto box = Box(400);
    box->SetName("Field1");
    Relayout(*box);
    NamesView names;
    RecordingSurface dc;
    box->Draw(names, dc);
    EXPECT_EQ(Lines(dc, "textColor"), (std::vector<std::string>{"textColor 0xC0C0C0", "textColor 0x000000"}));
    ASSERT_EQ(Lines(dc, "textOut").size(), 1u);
    EXPECT_NE(Lines(dc, "textOut")[0].find("\"Field1\""), std::string::npos);

    // Printed: nothing (the text is empty).
    names.previewing = true;
    RecordingSurface printed;
    box->Draw(names, printed);
    EXPECT_TRUE(Lines(printed, "textOut").empty());

    // With text the name is not shown.
    names.previewing = false;
    Append(*box, "甲");
    Relayout(*box);
    RecordingSurface filled;
    box->Draw(names, filled);
    EXPECT_EQ(Lines(filled, "textOut"), (std::vector<std::string>{"textOut 6,13 \"甲\" [14]"}));
}

TEST_F(Drawing, RulingLines)
{
    auto box = Box(400, 300);
    box->MutableTextAttributes().rowLine = 1;
    box->MutableTextAttributes().rowLineColor = 0x0000FF;
    Append(*box, "甲");
    Relayout(*box);
    RecordingSurface dc;
    box->Draw(view, dc);
    EXPECT_EQ(Lines(dc, "pen"), (std::vector<std::string>{"pen 0 1 0x0000FF", "pen 0 1 0x000000"}));
    // Under the row (bottom 72), then every 57 units (37 + 20) down to 300.
    const auto moves = Lines(dc, "moveTo");
    ASSERT_EQ(moves.size(), 1u + 4u);
    EXPECT_EQ(moves[0], "moveTo 6," + std::to_string(view.ToPixels(72) + 1));
    EXPECT_EQ(moves[1], "moveTo 6," + std::to_string(view.ToPixels(129) + 1));
    EXPECT_EQ(moves[4], "moveTo 6," + std::to_string(view.ToPixels(300) + 1));
    EXPECT_EQ(Lines(dc, "lineTo")[0], "lineTo 157," + std::to_string(view.ToPixels(72) + 1));
}

TEST_F(Drawing, RowsAndSentencesDrawThemselves)
{
    const auto box = Laid(400, "甲乙");
    RecordingSurface rowDc;
    box->GetRow(0)->Draw(view, rowDc);
    EXPECT_EQ(Lines(rowDc, "textOut"), (std::vector<std::string>{"textOut 6,13 \"甲乙\" [14 14]"}));
    RecordingSurface sentenceDc;
    box->GetRow(0)->GetSentence(0)->Draw(view, sentenceDc);
    EXPECT_EQ(Lines(sentenceDc, "textOut"), (std::vector<std::string>{"textOut 6,13 \"甲乙\" [14 14]"}));
    // At 200 % everything doubles.
    test::TestView zoomed(200);
    RecordingSurface big;
    box->Draw(zoomed, big);
    EXPECT_EQ(Lines(big, "textOut"), (std::vector<std::string>{"textOut 11,26 \"甲乙\" [28 28]"}));
}

// Real glyphs in an image: ink inside the row, none outside the clip.
TEST_F(Drawing, PixelsOfChineseText)
{
    test::ensureGuiApp();
    test::TestView big(100, 254);   // one unit is one pixel
    const auto box = Laid(400, "永和九年岁在癸丑暮春之初会于会稽山阴之兰亭");
    QImage image(460, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        DrawSurface dc(image, 254, 254);
        box->Draw(big, dc);
    }
    auto ink = [&](int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += qGray(image.pixel(x, y)) < 128;
        return n;
    };
    // Row 0: 15 … 72 (text 35 … 72), row 1 below it; 10 characters a row.
    EXPECT_GT(ink(15, 35, 415, 72), 1000);
    EXPECT_GT(ink(15, 92, 415, 129), 1000);
    EXPECT_EQ(ink(0, 0, 15, 200), 0);      // left margin
    EXPECT_EQ(ink(415, 0, 460, 200), 0);   // right margin (clip)
    EXPECT_EQ(ink(15, 0, 415, 30), 0);     // above the first row
    // Each of the ten characters of the first row is inked in its own cell.
    for (int i = 0; i < 10; ++i)
        EXPECT_GT(ink(15 + 40 * i, 35, 15 + 40 * i + 37, 72), 50) << i;
}
