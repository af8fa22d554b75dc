// Geometry, locks, the information text and the filled-object record.
#include "model/basic_obj.h"
#include "model/filled_obj.h"
#include "model/view_context.h"
#include "persist/archive.h"
#include "support/bytes.h"
#include "support/test_view.h"

#include <gtest/gtest.h>

using mirel::Rect;

TEST(BasicObj, SetRectNormalises)
{
    struct Case {
        Rect in, out;
    };
    const Case cases[] = {
        {{10, 20, 30, 40}, {10, 20, 30, 40}},
        {{30, 20, 10, 40}, {10, 20, 30, 40}},
        {{10, 40, 30, 20}, {10, 20, 30, 40}},
        {{30, 40, 10, 20}, {10, 20, 30, 40}},
    };
    for (const Case& c : cases) {
        CBasicObj obj;
        obj.SetRect(c.in);
        EXPECT_EQ(obj.GetRect(), c.out);
        obj.SetRectDirect(c.in.left, c.in.top, c.in.right, c.in.bottom);
        obj.Normalize();
        EXPECT_EQ(obj.GetRect(), c.out);
    }
    CBasicObj obj;
    obj.SetRect(0, 0, 100, 50);
    obj.SetLeft(150);   // past the right edge: swapped
    EXPECT_EQ(obj.GetRect(), (Rect{100, 0, 150, 50}));
    obj.OffsetBy(-100, 10);
    EXPECT_EQ(obj.GetRect(), (Rect{0, 10, 50, 60}));
}

TEST(BasicObj, LockTable)
{
    struct Case {
        int start, set, expected;
    };
    const Case cases[] = {
        {0, 1, 1}, {1, 0, 0}, {0, 2, 2}, {2, 0, 2}, {2, 1, 2}, {2, -2, 0}, {1, -2, 0},
    };
    for (const Case& c : cases) {
        CBasicObj obj;
        obj.SetLock(c.start);
        if (c.start == 2) {
            ASSERT_EQ(obj.GetLock(), 2);
        }
        obj.SetLock(c.set);
        EXPECT_EQ(obj.GetLock(), c.expected) << c.start << " then " << c.set;
    }
}

TEST(BasicObj, LockedObjectDoesNotMove)
{
    CBasicObj obj;
    obj.SetRect(0, 0, 100, 100);
    obj.SetLock(1);
    EXPECT_FALSE(obj.MoveBy(nullptr, 10, 10));
    EXPECT_FALSE(obj.MoveHandleTo(5, {200, 200}, nullptr));
    EXPECT_EQ(obj.GetRect(), (Rect{0, 0, 100, 100}));
    obj.SetLock(0);
    EXPECT_TRUE(obj.MoveBy(nullptr, 10, 10));
    EXPECT_TRUE(obj.MoveHandleTo(5, {200, 200}, nullptr));
    EXPECT_EQ(obj.GetRect(), (Rect{10, 10, 200, 200}));
}

TEST(BasicObj, InformationTextInMillimetres)
{
    CBasicObj obj;
    obj.SetRect(105, 200, 405, 350);
    EXPECT_EQ(obj.GetInfoText(), "左上角:(10.5,20.0), 宽度: 30.0, 高度: 15.0 毫米");
}

TEST(BasicObj, HandlesAndHitTest)
{
    mirel::test::TestView view(100, 254);   // 1 unit = 1 pixel
    CBasicObj obj;
    obj.SetRect(100, 200, 300, 400);
    struct Case {
        int handle;
        mirel::Point at;
    };
    const Case cases[] = {{1, {100, 200}}, {2, {100, 300}}, {3, {100, 400}}, {4, {200, 400}},
                          {5, {300, 400}}, {6, {300, 300}}, {7, {300, 200}}, {8, {200, 200}}};
    for (const Case& c : cases) {
        mirel::Point p;
        ASSERT_TRUE(obj.GetHandle(c.handle, p));
        EXPECT_EQ(p, c.at);
        EXPECT_EQ(obj.HitTest(view, {c.at.x + 3, c.at.y - 3}, true), c.handle);
    }
    mirel::Point p;
    EXPECT_FALSE(obj.GetHandle(10, p)) << "not rotatable";
    EXPECT_FALSE(obj.GetHandle(9, p));
    EXPECT_EQ(obj.HitTest(view, {150, 250}, true), 0);
    EXPECT_EQ(obj.HitTest(view, {104, 200}, true), 0);
}

TEST(BasicObj, ChildrenAreOwnedAndFound)
{
    CBasicObj parent;
    auto child = std::make_unique<CBasicObj>();
    CBasicObj* raw = child.get();
    parent.AppendChild(std::move(child));
    EXPECT_TRUE(parent.ContainsChild(raw));
    EXPECT_EQ(raw->GetParent(), &parent);
    EXPECT_EQ(parent.GetChild(0), raw);
    EXPECT_EQ(parent.GetChild(1), nullptr);
    EXPECT_EQ(parent.GetChild(-1), nullptr);
    std::unique_ptr<CBasicObj> back;
    EXPECT_EQ(parent.RemoveChild(nullptr, raw, false, &back), 0);
    EXPECT_EQ(back.get(), raw);
    EXPECT_EQ(parent.RemoveChild(nullptr, raw, true), -1);
}

TEST(FilledObj, UnfilledRecordIs28BytesAndReadsDefaults)
{
    CFilledObj obj;
    obj.SetRect(1, 2, 3, 4);
    mirel::Archive out;
    out.WriteObject(&obj);
    const std::string& bytes = out.Buffer();
    const std::string tag = mirel::test::Bytes().newClass(2000, "CFilledObj");
    ASSERT_EQ(bytes.substr(0, tag.size()), tag);
    EXPECT_EQ(bytes.size() - tag.size(), 28u);

    mirel::Archive in(bytes);
    auto back = in.ReadOwned<CFilledObj>();
    EXPECT_EQ(back->GetNoFill(), 1);
    EXPECT_EQ(back->GetFillColor(), 0xFF000000u);
    EXPECT_EQ(back->GetHatchStyle(), 99);
    EXPECT_EQ(back->GetHatchColor(), 0u);
}

TEST(FilledObj, FilledRecordCarriesColourAndHatch)
{
    CFilledObj obj;
    obj.SetNoFill(nullptr, 0);
    obj.SetFillColor(nullptr, 0x00FF00);
    obj.SetHatchStyle(nullptr, 4);
    obj.SetHatchColor(nullptr, 0x0000FF);
    mirel::Archive out;
    out.WriteObject(&obj);
    const std::string bytes = out.TakeBuffer();
    mirel::Archive in(bytes);
    auto back = in.ReadOwned<CFilledObj>();
    EXPECT_EQ(back->GetNoFill(), 0);
    EXPECT_EQ(back->GetFillColor(), 0x00FF00u);
    EXPECT_EQ(back->GetHatchStyle(), 4);
    EXPECT_EQ(back->GetHatchColor(), 0x0000FFu);
    EXPECT_EQ(back->GetFillPicture(), nullptr);
}
