// The view: pixel mapping, invalidation, scrolling by keys and wheel, host
// events, paint order and what a grab of the widget shows.
#include "graphics/page_renderer.h"
#include "platform/muldiv.h"
#include "surface/recording_surface.h"
#include "view/command_ids.h"
#include "view/key_codes.h"
#include "view/page_tip.h"
#include "view/table_view.h"
#include "view_support.h"

#include <QImage>
#include <algorithm>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace mirel::test {
namespace {

// Collects what the view hands to its host.
class RecordingHost : public ViewHost {
public:
    void UpdateRulers() override { ++rulerUpdates; }
    void RaiseHostEvent(const HostEvent& e) override { events.push_back(e); }
    void RefreshCommandStates() override { ++refreshes; }
    bool ExecuteCommand(int id) override
    {
        commands.push_back(id);
        return view && view->Commands().Execute(id);
    }
    CTableView* view = nullptr;
    int rulerUpdates = 0;
    int refreshes = 0;
    std::vector<HostEvent> events;
    std::vector<int> commands;
};

class TableViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        EnsureApp();
        doc = std::make_unique<CMirelData>();
        wf = doc->GetWorkForm(0);
        EnsurePages(*wf, 3);
        view = std::make_unique<CTableView>();
        host.view = view.get();
        view->SetHost(&host);
        view->resize(900, 600);
        view->AttachDocument(doc.get(), wf);
        view->OnInitialUpdate();
    }
    void TearDown() override { view.reset(); }

    int Px(int units) const { return MulDiv(view->GetZoom() * units, view->DpiY(), 25400); }

    std::unique_ptr<CMirelData> doc;
    CWorkForm* wf = nullptr;
    RecordingHost host;
    std::unique_ptr<CTableView> view;
};

TEST_F(TableViewTest, InitialUpdateAppliesTheStoredZoomAndMakesTheFirstPageCurrent)
{
    EXPECT_EQ(view->GetCurrentPage(), wf->GetPage(0));
    EXPECT_EQ(view->GetZoomMode(), kZoomPercent);
    EXPECT_EQ(view->GetZoom(), 100);
    EXPECT_EQ(view->Grid().pageW, Px(2100));
    EXPECT_EQ(view->Grid().pageH, Px(2970));
    // Whole page: the page height fits the client less 9 pixels.
    view->SetZoom(kZoomWholePage, 0);
    EXPECT_EQ(view->GetZoom(),
        std::min(MulDiv(900 - 9, 100, MulDiv(210000, view->DpiY(), 25400)),
            MulDiv(600 - 9, 100, MulDiv(297000, view->DpiY(), 25400))));
    EXPECT_EQ(wf->zoomMode, kZoomWholePage);
    // A relative step is stored as the percentage it gave.
    view->SetZoom(kZoomPercent, 100);
    view->SetZoom(kZoomStep, 50);
    EXPECT_EQ(view->GetZoom(), 150);
    EXPECT_EQ(wf->zoomMode, kZoomPercent);
    EXPECT_EQ(wf->zoomPercent, 150);
    // A resize re-applies mode and percentage: whole page follows the size.
    view->SetZoom(kZoomWholePage, 0);
    const int before = view->GetZoom();
    view->show();
    view->resize(900, 1200);
    EXPECT_GT(view->GetZoom(), before);
}

TEST_F(TableViewTest, DocumentRectangleOnPageTwoAt150PercentMapsToTheWidget)
{
    view->SetZoom(kZoomPercent, 150);
    CTablePage* page2 = wf->GetPage(1);
    view->SetCurrentPage(page2, true);
    view->EnsureVisible();
    const PageGrid& g = view->Grid();
    ASSERT_TRUE(g.IsVisible(1));

    // Independently: page 2 stands in the second row of the whole grid.
    const int pageH = Px(2970);
    const int pageLeft = g.gridOriginX + 3;
    const int pageTop = g.gridOriginY + 3 + (pageH + 3);
    const Rect doc { 100, 200, 600, 500 };
    const QRect expected(pageLeft + Px(100), pageTop + Px(200), Px(600) - Px(100), Px(500) - Px(200));
    EXPECT_EQ(view->DocRectToClient(doc, page2), expected);

    // An object there invalidates exactly that rectangle ...
    auto obj = std::make_unique<PaintedObj>(0x00FF00);
    obj->SetRect(doc);
    CBasicObj* placed = page2->AddObject(std::move(obj));
    view->RecordInvalidation(true);
    placed->Invalidate(view.get());
    std::vector<QRect> got = view->TakeInvalidated();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0], expected);
    // ... and, once selected, the rectangle widened by 50 units (at least 10 pixels).
    view->Select(placed, false);
    got = view->TakeInvalidated();
    ASSERT_FALSE(got.empty());
    const int margin = std::max(10, Px(50));
    EXPECT_EQ(got.back(), expected.adjusted(-margin, -margin, margin, margin));
}

TEST_F(TableViewTest, KeysAndWheelScroll)
{
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    ASSERT_EQ(view->Grid().gridOriginY, 0);
    const int clientH = view->height();

    QTest::keyClick(view.get(), Qt::Key_PageDown);
    EXPECT_EQ(view->Grid().gridOriginY, -(clientH - 6));
    QTest::keyClick(view.get(), Qt::Key_PageUp);
    EXPECT_EQ(view->Grid().gridOriginY, 0);

    QTest::keyClick(view.get(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view->GetCurrentPage(), wf->GetPage(2));
    EXPECT_EQ(view->Grid().gridOriginY, clientH - view->Grid().gridH - 6);
    EXPECT_EQ(view->Grid().last, 2);
    QTest::keyClick(view.get(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(view->GetCurrentPage(), wf->GetPage(0));
    EXPECT_EQ(view->Grid().gridOriginY, 0);

    // Two notches down: two lines of a tenth of the client height each.
    QWheelEvent wheel(QPointF(100, 100), view->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, -240), Qt::NoButton,
        Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.get(), &wheel);
    EXPECT_EQ(view->Grid().gridOriginY, -2 * (clientH / 10));

    // Key events reach the host as event 13 with the key's virtual code;
    // with Control held, a second time with the Control flag. The Control
    // key itself (17) carries the flag once.
    std::vector<std::pair<int, bool>> keys;
    for (const HostEvent& e : host.events)
        if (e.id == HostEventId::KeyDown)
            keys.emplace_back(e.value, e.flag);
    const std::vector<std::pair<int, bool>> expected
        = { { vk::Next, false }, { vk::Prior, false }, { vk::Control, true }, { vk::End, false }, { vk::End, true },
              { vk::Control, true }, { vk::Home, false }, { vk::Home, true } };
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(host.commands, (std::vector<int> { cmd::kCaretToDocumentEnd, cmd::kCaretToDocumentStart }));
}

TEST_F(TableViewTest, ReadOnlyProtectionIgnoresKeysButScrolls)
{
    auto* obj = AddPainted(*wf->GetPage(0), { 200, 200, 600, 600 }, 0x0000FF);
    view->Select(obj, false);
    doc->protectType = 1;
    view->HandleKey(vk::Right, false, false);
    EXPECT_EQ(obj->GetRect(), (Rect { 200, 200, 600, 600 }));
    view->HandleKey(vk::Next, false, false);
    EXPECT_LT(view->Grid().gridOriginY, 0);

    // Without protection an arrow moves the selection by the move step.
    doc->protectType = 0;
    view->HandleKey(vk::Right, false, false);
    EXPECT_EQ(obj->GetRect().left, 202);
    EXPECT_TRUE(doc->IsModified());
    // Fill-in protection: a locked current object ignores keys.
    doc->protectType = 2;
    obj->SetLock(1);
    view->HandleKey(vk::Down, false, false);
    EXPECT_EQ(obj->GetRect().top, 200);
}

TEST_F(TableViewTest, MouseClickMakesTheHitPageCurrentAndRaisesEvents)
{
    view->SetZoom(kZoomManyPages, 25); // three pages side by side
    ASSERT_GE(view->Grid().columns, 3);
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    const Rect r = view->PageGridRect(wf->GetPage(2));
    const Point c = view->GridToClient({ r.left + 10, r.top + 10 });
    QTest::mouseClick(view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(c.x, c.y));
    EXPECT_EQ(view->GetCurrentPage(), wf->GetPage(2));
    // Outside every page: the current page stays.
    const Point gap = view->GridToClient({ 1, 1 });
    QTest::mouseClick(view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(gap.x, gap.y));
    EXPECT_EQ(view->GetCurrentPage(), wf->GetPage(2));

    std::vector<int> ids;
    for (const HostEvent& e : host.events)
        ids.push_back(e.id);
    // press (0), then on release the format (3, 4) and the release (2).
    EXPECT_EQ(ids, (std::vector<int> { 0, 3, 4, 2, 0, 3, 4, 2 }));
    EXPECT_EQ(host.events[1].text, "宋体");
    EXPECT_EQ(host.events[2].value, -9);
    EXPECT_GE(host.refreshes, 4);
}

TEST_F(TableViewTest, PaintOrderIsPaperThenHeadersThenBelowColumnsAboveThenHandles)
{
    CTablePage* page = wf->GetPage(0);
    wf->watermarkText = "\xC3\xDC"; // 密
    wf->SetHeader(std::make_unique<PaintedHeader>(0x000011));
    wf->GetHeader()->SetRect(200, 50, 1900, 150);
    wf->SetFooter(std::make_unique<PaintedHeader>(0x000022));
    wf->GetFooter()->SetRect(200, 2800, 1900, 2900);
    page->SetNumberFrame(std::make_unique<PaintedFrame>(0x000033));
    page->NumberFrame()->SetRect(1000, 2850, 1100, 2900);
    AddPainted(*page, { 300, 300, 500, 500 }, 0x000044, false);
    auto column = std::make_unique<PaintedColumn>(0x000055);
    column->SetRect(200, 200, 1900, 2770);
    page->AppendTextColumn(std::move(column));
    CBasicObj* above = AddPainted(*page, { 400, 400, 800, 800 }, 0x000066, true);
    view->Select(above, false);

    RecordingSurface dc;
    dc.setViewportOrigin({ view->Grid().viewOriginX, view->Grid().viewOriginY });
    view->PaintContent(dc, { -10000, -10000, 10000, 10000 });
    const std::vector<std::string>& calls = dc.calls();
    auto firstIndex = [&](const std::string& needle) -> int {
        for (size_t i = 0; i < calls.size(); ++i)
            if (calls[i].find(needle) != std::string::npos)
                return static_cast<int>(i);
        return -1;
    };
    auto lastIndex = [&](const std::string& needle) -> int {
        for (size_t i = calls.size(); i-- > 0;)
            if (calls[i].find(needle) != std::string::npos)
                return static_cast<int>(i);
        return -1;
    };
    const int grey = firstIndex("fillRegion");
    const int paper = firstIndex("solid 0xFFFFFF");
    const int watermark = firstIndex("textOut");
    const int header = firstIndex("0x000011");
    const int footer = firstIndex("0x000022");
    const int number = firstIndex("0x000033");
    const int below = firstIndex("0x000044");
    const int columnAt = firstIndex("0x000055");
    const int aboveAt = firstIndex("0x000066");
    const int handles = firstIndex("solid 0x000000 ");
    for (int at : { grey, paper, watermark, header, footer, number, below, columnAt, aboveAt })
        ASSERT_GE(at, 0);
    EXPECT_LT(grey, paper);
    EXPECT_LT(paper, watermark);
    EXPECT_LT(watermark, header);
    EXPECT_LT(header, footer);
    EXPECT_LT(footer, number);
    EXPECT_LT(number, below);
    EXPECT_LT(below, columnAt);
    EXPECT_LT(columnAt, aboveAt);
    // Eight handle squares, once each, after everything else (the page
    // shadow is black too: count only 7 x 7 squares).
    int squares = 0;
    int firstSquare = -1;
    for (size_t i = 0; i < calls.size(); ++i) {
        const std::string& c = calls[i];
        if (c.rfind("fillRect", 0) == 0 && c.find("solid 0x000000") != std::string::npos) {
            int l, t, r, b;
            if (std::sscanf(c.c_str(), "fillRect %d,%d,%d,%d", &l, &t, &r, &b) == 4 && r - l == 7 && b - t == 7) {
                ++squares;
                if (firstSquare < 0)
                    firstSquare = static_cast<int>(i);
            }
        }
    }
    EXPECT_EQ(squares, 8);
    EXPECT_GT(firstSquare, aboveAt);
    EXPECT_GE(lastIndex("fillRect"), firstSquare);
    (void)handles;

    // Images, PNG and PDF export draw a page in the same order, header,
    // footer and page number included, and without handles.
    view->Select(nullptr, false);
    RecordingSurface exported;
    DrawPageContent(*page, *view, exported);
    std::vector<int> order;
    for (const char* colour : { "solid 0xFFFFFF", "0x000011", "0x000022", "0x000033", "0x000044", "0x000055",
             "0x000066" }) {
        int at = -1;
        for (size_t i = 0; i < exported.calls().size() && at < 0; ++i)
            if (exported.calls()[i].find(colour) != std::string::npos)
                at = static_cast<int>(i);
        order.push_back(at);
    }
    EXPECT_GE(order.front(), 0);
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end())) << ::testing::PrintToString(order);

    // Pages of other rows than the clip's are not drawn at all.
    RecordingSurface clipped;
    view->PaintContent(clipped, { 0, 0, 2, 2 });
    int papers = 0;
    for (const std::string& c : clipped.calls())
        papers += c.find("solid 0xFFFFFF") != std::string::npos;
    EXPECT_EQ(papers, 0);
}

TEST_F(TableViewTest, GrabShowsPagesOnGreyAndObjectsInPlace)
{
    AddPainted(*wf->GetPage(0), { 1000, 1000, 1500, 1500 }, 0x0000FF); // red
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    const QImage shot = view->grab().toImage();
    const PageGrid& g = view->Grid();
    auto at = [&](Point grid) { return shot.pixelColor(grid.x + g.viewOriginX, grid.y + g.viewOriginY); };
    const Rect page = view->PageGridRect(wf->GetPage(0));
    EXPECT_EQ(at({ page.left - 2, page.top + 50 }), QColor(0x80, 0x80, 0x80)); // around the page
    EXPECT_EQ(at({ page.left + 20, page.top + 20 }), QColor(Qt::white)); // the paper
    EXPECT_EQ(at({ page.left + Px(1250), page.top + Px(1250) }), QColor(Qt::red));
    EXPECT_EQ(at({ page.right, page.top + 50 }), QColor(Qt::black)); // the shadow
}

TEST_F(TableViewTest, UndoCommandsFollowTheHistory)
{
    class Stack : public UndoHistory {
    public:
        bool CanUndo() const override { return undo > 0; }
        bool CanRedo() const override { return redo > 0; }
        void Undo() override { --undo, ++redo; }
        void Redo() override { --redo, ++undo; }
        void Clear() override { undo = redo = 0; }
        int undo = 1, redo = 0;
    };
    EXPECT_FALSE(view->Commands().IsEnabled(cmd::kUndo));
    view->SetUndoHistory(std::make_unique<Stack>());
    EXPECT_TRUE(view->Commands().IsEnabled(cmd::kUndo));
    EXPECT_FALSE(view->Commands().IsEnabled(cmd::kRedo));
    view->HandleKey('Z', true, false);
    EXPECT_FALSE(view->Commands().IsEnabled(cmd::kUndo));
    EXPECT_TRUE(view->Commands().IsEnabled(cmd::kRedo));
}

} // namespace
} // namespace mirel::test

namespace mirel::test {
namespace {

TEST(PageTipTest, ThumbPositionToPageNumber)
{
    struct Case {
        int pos, min, range, rows, columns, pages, expected;
    };
    const Case cases[] = {
        { 0, 0, 1000, 10, 1, 10, 1 },
        { 500, 0, 1000, 10, 1, 10, 6 },
        { 999, 0, 1000, 10, 1, 10, 10 },
        { 1000, 0, 1000, 10, 1, 10, 10 },
        { 500, 0, 1000, 5, 2, 9, 5 },
        { 900, 0, 1000, 5, 2, 9, 9 },
        { 0, 0, 0, 1, 1, 1, 1 },
        { 30000, 0, 32000, 200, 1, 200, 188 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(PageTip::PageForPosition(c.pos, c.min, c.range, c.rows, c.columns, c.pages), c.expected)
            << c.pos << " of " << c.range;
}

} // namespace
} // namespace mirel::test
