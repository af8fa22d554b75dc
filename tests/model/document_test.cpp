// The document, its work forms and pages: naming, columns, page numbers,
// object names and drawing the paper.
#include "model/mirel_data.h"
#include "model/table_page.h"
#include "model/work_form.h"
#include "support/test_view.h"
#include "surface/draw_surface.h"
#include "text/text_obj.h"

#include <gtest/gtest.h>

#include <QImage>

using mirel::Rect;

namespace {
const std::string kStem = "\xB9\xA4\xD7\xF7\xB1\xED";   // 工作表
}

TEST(Document, ResetGivesOneSheetWithOnePage)
{
    CMirelData doc;
    doc.protectType = 1;
    doc.AddWorkForm(doc.CreateWorkForm(0xE901, "x"));
    doc.ResetDocument();
    ASSERT_EQ(doc.WorkFormCount(), 1);
    EXPECT_EQ(doc.GetWorkForm(0)->name, kStem + "1");
    EXPECT_EQ(doc.GetWorkForm(0)->PageCount(), 1);
    EXPECT_EQ(doc.protectType, 0);
    EXPECT_EQ(doc.workFormCounter, 1);
    EXPECT_NE(doc.FindDocInfo(), nullptr);
}

TEST(Document, NamesAreNotReusedAfterDeletion)
{
    CMirelData doc;
    doc.AddWorkForm(doc.CreateWorkForm(0xE901, doc.NextWorkFormName()));
    doc.AddWorkForm(doc.CreateWorkForm(0xE902, doc.NextWorkFormName()));
    EXPECT_EQ(doc.GetWorkForm(2)->name, kStem + "3");
    doc.RemoveWorkForm(1);
    doc.AddWorkForm(doc.CreateWorkForm(0xE903, doc.NextWorkFormName()));
    EXPECT_EQ(doc.GetWorkForm(2)->name, kStem + "4");
}

TEST(Document, FindingWorkForms)
{
    CMirelData doc;
    doc.AddWorkForm(doc.CreateWorkForm(0xE905, "Budget"));
    EXPECT_EQ(doc.IndexOfWorkForm("budget"), 1);
    EXPECT_EQ(doc.FindWorkFormByName("BUDGET"), doc.GetWorkForm(1));
    EXPECT_EQ(doc.FindWorkFormByName("none"), nullptr);
    EXPECT_EQ(doc.FindWorkFormById(0xE905), doc.GetWorkForm(1));
    EXPECT_EQ(doc.GetWorkForm(2), nullptr);
    EXPECT_FALSE(doc.SetWorkFormId(0, 0xE905)) << "the id is taken";
    EXPECT_TRUE(doc.SetWorkFormId(0, 0xE909));
    EXPECT_EQ(doc.NextWorkFormId(), 0xE909);
    doc.InsertWorkForm(99, doc.CreateWorkForm(0xE90A, "last"));
    EXPECT_EQ(doc.GetWorkForm(2)->name, "last") << "position clamped to the count";
}

TEST(Document, FileTitle)
{
    CMirelData doc;
    struct Case {
        const char* path;
        const char* title;
    };
    const Case cases[] = {{"/home/u/报告.qwd", "报告"}, {"C:\\docs\\a.b.mrl", "a.b"}, {"noslash.qwd", ""},
                          {"/dir/noext", ""}, {"/dir.d/file", ""}};
    for (const Case& c : cases) {
        doc.SetPathName(c.path);
        EXPECT_EQ(doc.GetFileTitle(), c.title) << c.path;
    }
}

TEST(WorkForm, PagesAndMargins)
{
    CWorkForm wf;
    EXPECT_EQ(wf.DeletePage(wf.GetPage(0), true), nullptr) << "the last page stays";
    CTablePage* second = wf.AddPage();
    CTablePage* third = wf.AddPage();
    EXPECT_EQ(wf.IndexOfPage(third), 2);
    EXPECT_EQ(wf.DeletePage(second, true), wf.GetPage(0));
    CTablePage* previous = wf.DeletePage(wf.GetPage(0), true);
    EXPECT_EQ(previous, wf.GetPage(0)) << "deleting the first page gives the new first";
    EXPECT_EQ(wf.PageCount(), 1);

    wf.SetMargins(1000, 200, 1095, 200);   // 5 units left: ignored
    EXPECT_EQ(wf.marginLeft, 200);
    wf.SetMargins(300, 250, 310, 260);
    EXPECT_EQ(wf.GetContentRect(), (Rect{300, 250, 2100 - 310, 2970 - 260}));
}

TEST(WorkForm, ColumnLayout)
{
    struct Case {
        int columns, footMargin;
        std::vector<int> xs;
        int width, height;
    };
    const Case cases[] = {
        {3, 170, {200, 788, 1376}, 523, 2570},
        {1, 170, {200}, 1700, 2570},
        {2, 300, {200, 1082}, 817, 2470},   // the foot margin beyond the bottom margin shortens the columns
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.columns);
        CWorkForm wf;
        wf.columnCount = c.columns;
        wf.footMargin = c.footMargin;
        CTablePage* page = wf.GetPage(0);
        page->LayoutColumns(nullptr);
        ASSERT_EQ(page->TextColumns().size(), c.xs.size());
        for (size_t i = 0; i < c.xs.size(); ++i) {
            const Rect r = page->TextColumn(static_cast<int>(i))->GetRect();
            EXPECT_EQ(r.left, c.xs[i]);
            EXPECT_EQ(r.top, 200);
            EXPECT_EQ(r.Width(), c.width);
            EXPECT_EQ(r.Height(), c.height);
            EXPECT_TRUE(page->TextColumn(static_cast<int>(i))->IsActive());
        }
    }
}

TEST(WorkForm, FlowIndicesFollowPagesAndColumns)
{
    CWorkForm wf;
    wf.columnCount = 2;
    wf.GetPage(0)->LayoutColumns(nullptr);
    wf.AddPage();
    wf.RenumberFlow();
    EXPECT_EQ(wf.MaxFlowIndex(), 3);
    EXPECT_EQ(wf.FindTextColumn(2), wf.GetPage(1)->TextColumn(0));
    EXPECT_EQ(wf.FindTextColumn(2)->GetPageIndex(), 1);
    EXPECT_EQ(wf.FindTextColumn(7), nullptr);
}

TEST(WorkForm, PageNumberTexts)
{
    struct Case {
        int format, start, firstUnnumbered, total, page;
        const char* text;
    };
    const Case cases[] = {
        {1, 1, 0, 0, 0, "1"},
        {1, 1, 0, 1, 2, "3/3"},
        {2, 5, 0, 0, 1, "- 6 -"},
        {3, 1, 0, 0, 0, "1."},
        {3, 1, 0, 1, 0, "1.3"},
        {4, 1, 0, 1, 1, "( 2/3 )"},
        {5, 1, 0, 0, 2, "第 3 页"},
        {5, 1, 0, 1, 2, "第 3 页  共 3 页"},
        {6, 1, 0, 0, 0, "·1·"},
        {1, 1, 1, 0, 0, ""},        // the first page shows no number
        {1, 1, 1, 1, 1, "1/2"},     // and the count starts after it
        {9, 1, 0, 1, 0, "1"},       // an unknown format shows the number
        {0, 1, 0, 0, 0, ""},
    };
    for (const Case& c : cases) {
        CWorkForm wf;
        wf.AddPage();
        wf.AddPage();
        wf.pageNumberFormat = c.format;
        wf.pageNumberStart = c.start;
        wf.firstPageUnnumbered = c.firstUnnumbered;
        wf.showPageTotal = c.total;
        EXPECT_EQ(wf.PageNumberText(c.page), c.text) << "format " << c.format << " page " << c.page;
    }
}

TEST(WorkForm, PageNumberPositions)
{
    CWorkForm wf;
    int align = -1;
    wf.pageNumberPosition = 4;
    EXPECT_EQ(wf.PageNumberRect(0, &align), (Rect{600, 2800, 1500, 3100}));
    EXPECT_EQ(align, 1);
    wf.pageNumberPosition = 0;
    EXPECT_EQ(wf.PageNumberRect(0, &align), (Rect{200, -150, 1100, 150}));
    EXPECT_EQ(align, 0);
    // Outside margin: odd numbers on the right, even ones on the left.
    wf.pageNumberPosition = 8;
    const int my = 150 + (2800 - 150) / 2;
    EXPECT_EQ(wf.PageNumberRect(0, &align), (Rect{1450, my - 112, 2350, my + 112}));   // number 1
    EXPECT_EQ(wf.PageNumberRect(1, &align), (Rect{-250, my - 112, 650, my + 112}));    // number 2
    EXPECT_EQ(align, 1);
}

TEST(TablePage, ObjectNames)
{
    CWorkForm wf;
    CTablePage* page = wf.GetPage(0);
    auto named = std::make_unique<CTextObj>();
    named->SetName("Page3Page12Box");
    page->AddObject(std::move(named));
    page->AddObject(std::make_unique<CTextObj>());
    auto below = std::make_unique<CTextObj>();
    below->SetBelowText();
    page->AddObject(std::move(below));
    auto above = std::make_unique<CTextObj>();
    above->SetName("top");
    page->AddObject(std::move(above));
    ASSERT_EQ(page->Objects()[2]->GetName(), "top") << "above-text objects stay before those below";

    int32_t counter = 0;
    page->NameObjects(counter);
    EXPECT_EQ(counter, 4);
    EXPECT_EQ(page->Objects()[0]->GetName(), "Page3Page12Box");
    EXPECT_EQ(page->Objects()[1]->GetName(), "Obj2");
    EXPECT_EQ(page->Objects()[3]->GetName(), "Obj4");

    page->PrefixObjectNames(7);
    EXPECT_EQ(page->Objects()[0]->GetName(), "Page7Box");
    EXPECT_EQ(page->Objects()[2]->GetName(), "Page7top");
}

TEST(TablePage, DrawsPaperShadowAndMarginMarks)
{
    CWorkForm wf;
    wf.backgroundColor = 0xE0F0FF;   // a pale paper, RGB(FF,F0,E0)
    mirel::test::TestView view(10, 254);   // 1 unit = 0.1 pixel: the page is 210 x 297 pixels
    QImage image(220, 310, QImage::Format_RGB32);
    image.fill(Qt::gray);
    {
        mirel::DrawSurface dc(image, 254, 254);
        wf.GetPage(0)->DrawPaper(view, dc);
    }
    EXPECT_EQ(image.pixelColor(100, 150), QColor(0xFF, 0xF0, 0xE0)) << "paper colour";
    EXPECT_EQ(image.pixelColor(210, 150), QColor(Qt::black)) << "shadow on the right";
    EXPECT_EQ(image.pixelColor(100, 297), QColor(Qt::black)) << "shadow at the bottom";
    EXPECT_EQ(image.pixelColor(215, 150), QColor(Qt::gray)) << "nothing beyond";
    // Corner marks run 6 pixels outward from the content corners (20, 20).
    EXPECT_EQ(image.pixelColor(16, 20), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(image.pixelColor(20, 16), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(image.pixelColor(24, 24), QColor(0xFF, 0xF0, 0xE0)) << "no mark inside";
}
