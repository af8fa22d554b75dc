// Pictures of the frame at 100 % and 200 % with a three-page document,
// written to the build folder to be looked at (view-100.png, view-200.png).
#include "platform/muldiv.h"
#include "sample_document.h"

#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace mirel::test {
namespace {

QImage Shoot(COFrame& frame, int zoom, const char* file)
{
    frame.ActiveView()->SetZoom(kZoomPercent, zoom);
    QApplication::processEvents();
    QImage image = frame.grab().toImage();
    image.save(QString(MIREL_BINARY_DIR "/") + file, "PNG");
    return image;
}

TEST(ScreenshotTest, FrameAt100And200Percent)
{
    EnsureApp();
    COFrame frame;
    frame.resize(1000, 760);
    FillSampleDocument(frame);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    CTableView* view = frame.ActiveView();

    const QImage at100 = Shoot(frame, 100, "view-100.png");
    ASSERT_FALSE(at100.isNull());
    const int page100 = view->Grid().pageW;
    EXPECT_EQ(page100, MulDiv(100 * 2100, view->DpiY(), 25400));
    // The view sits below the ruler; the page's left edge is white paper
    // with the grey of the background just before it.
    const QPoint origin = view->geometry().topLeft();
    const Rect page = view->PageGridRect(view->GetWorkForm()->GetPage(0));
    const QPoint left = origin + QPoint(page.left + view->Grid().viewOriginX, page.top + view->Grid().viewOriginY + 30);
    EXPECT_EQ(at100.pixelColor(left + QPoint(1, 0)), QColor(Qt::white));
    EXPECT_EQ(at100.pixelColor(left - QPoint(2, 0)), QColor(0x80, 0x80, 0x80));

    const QImage at200 = Shoot(frame, 200, "view-200.png");
    ASSERT_FALSE(at200.isNull());
    EXPECT_NEAR(view->Grid().pageW, 2 * page100, 1);
    EXPECT_TRUE(frame.ScrollBar(false)->isEnabled()); // the page is wider than the view now
    EXPECT_TRUE(frame.ScrollBar(true)->isEnabled());
}

} // namespace
} // namespace mirel::test
