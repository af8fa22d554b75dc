#pragma once
// A shown view on a fresh document with the fixed test metrics, for the
// text tool and undo tests: helpers to read the body text, click at a text
// offset and send typed and input-method text.
#include "model/mirel_data.h"
#include "model/work_form.h"
#include "platform/cells.h"
#include "platform/gbk.h"
#include "platform/prompt.h"
#include "surface/fixed_font_metrics.h"
#include "text/sentence.h"
#include "text/text_measure.h"
#include "text/text_row.h"
#include "view/table_view.h"
#include "view/text_flow.h"
#include "view/text_geometry.h"
#include "view/text_tool.h"
#include "view/undo_manager.h"
#include "view_support.h"

#include <QInputMethodEvent>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace mirel::test {

// UTF-8 -> cells ("\r" is the paragraph mark).
inline std::string Cells(std::string_view utf8)
{
    return ToCells(Utf8ToGbk(utf8).text, false);
}

// Cells -> UTF-8 with "¶" for the paragraph mark.
inline std::string Text(std::string_view cells)
{
    std::string out;
    for (size_t i = 0; i + 1 < cells.size(); i += 2) {
        if (cells[i] == '\r' && cells[i + 1] == 0)
            out += "¶";
        else
            out += GbkToUtf8(FromCells(cells.substr(i, 2), false)).text;
    }
    return out;
}

class TextEditingTest : public testing::Test {
protected:
    void SetUp() override
    {
        EnsureApp();
        metrics = std::make_unique<ScopedLayoutMetrics>(fixed);
        prompt = std::make_unique<ScopedPrompt>(scripted);
        doc = std::make_unique<CMirelData>();
        wf = doc->GetWorkForm(0);
        view = std::make_unique<CTableView>();
        view->resize(900, 700);
        view->AttachDocument(doc.get(), wf);
        view->OnInitialUpdate();
        view->SetZoom(kZoomPercent, 100);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        tool = TextToolOf(*view);
        undo = UndoManagerOf(*view);
        ASSERT_NE(tool, nullptr);
        ASSERT_NE(undo, nullptr);
    }
    void TearDown() override
    {
        view.reset();
        doc.reset();
    }

    BodyFlow Flow() const { return BodyFlow(*wf); }
    // The body text as UTF-8, "¶" for paragraph marks.
    std::string FlowText() const
    {
        const BodyFlow f = Flow();
        return Text(f.Cells(0, f.Length()));
    }
    // Every run of the body text with the attributes that matter here,
    // neighbours of one format merged: "text[w700,i1,u1]|…", paragraphs as "¶<align>".
    std::string Runs() const
    {
        const BodyFlow f = Flow();
        std::string out;
        for (const FlowRun& r : f.Runs(0, f.Length())) {
            out += Text(r.cells) + "[w" + std::to_string(r.attrs.weight) + ",i" + std::to_string(r.attrs.italic) + ",u"
                + std::to_string(r.attrs.underline) + ",e" + std::to_string(r.attrs.effect) + "]";
            if (r.cells.size() >= 2 && r.cells[0] == '\r')
                out += "<a" + std::to_string(r.para.alignment) + ">";
            out += "|";
        }
        return out;
    }
    // The client point of the caret standing at a flow offset.
    QPoint PointAt(int offset) const
    {
        Rect r;
        EXPECT_TRUE(CaretGridRect(*view, Flow(), offset, false, r));
        const Point c = view->GridToClient({ r.left, r.top + r.Height() / 2 });
        return QPoint(c.x, c.y);
    }
    void ClickAt(int offset, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::mouseClick(view.get(), Qt::LeftButton, mods, PointAt(offset));
    }
    // Clicks into the first column (the text tool becomes current).
    void ClickIntoBody()
    {
        const CTextObj* col = Flow().Objects().front();
        const Rect pr = view->PageGridRect(wf->GetPage(0));
        const Rect r = col->GetPageRect();
        const Point g { pr.left + view->DocToPixels(r.left + 50), pr.top + view->DocToPixels(r.top + 30) };
        const Point c = view->GridToClient(g);
        QTest::mouseClick(view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(c.x, c.y));
    }
    void Commit(const QString& text)
    {
        QInputMethodEvent e(QString(), {});
        e.setCommitString(text);
        QCoreApplication::sendEvent(view.get(), &e);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(view.get(), key, mods); }
    void Type(const char* latin) { QTest::keyClicks(view.get(), latin); }

    FixedFontMetrics fixed;
    std::unique_ptr<ScopedLayoutMetrics> metrics;
    ScriptedPrompt scripted;
    std::unique_ptr<ScopedPrompt> prompt;
    std::unique_ptr<CMirelData> doc;
    CWorkForm* wf = nullptr;
    std::unique_ptr<CTableView> view;
    CTextTool* tool = nullptr;
    UndoManager* undo = nullptr;
};

} // namespace mirel::test
