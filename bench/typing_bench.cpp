// Typing speed in the view on a long document: 500 A4 pages of body text
// (Chinese with some Latin, paragraphs of 50 to 400 characters), the text
// tool's caret on page 1. Each keystroke is a key event sent to the view and
// timed until it returns: the model changed, the undo step recorded, the
// text laid out again and the changed rectangles invalidated (painting
// happens later, on the event loop).
//
//   typing_bench
//
// Targets (measured, not asserted): a keystroke on page 1 under 2 ms
// median and 8 ms at the 99th percentile; Enter in the middle of page 1
// under 16 ms.
#include "model/mirel_data.h"
#include "model/table_page.h"
#include "model/work_form.h"
#include "platform/cells.h"
#include "platform/gbk.h"
#include "text/text_edit.h"
#include "text/text_layout.h"
#include "text/text_obj.h"
#include "view/table_view.h"
#include "view/text_flow.h"
#include "view/text_tool.h"

#include <QApplication>
#include <QKeyEvent>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace mirel;

namespace {

const char* const kHanzi
    = "的一是在不了有和人这中大为上个国我以要他时来用们生到作地于出就分对成会可主发年动同工也能下过子说产种"
      "面而方后多定行学法所民得经十三之进着等部度家电力里如水化高自二理起小物现实加量都两体制机当使点从业本";
const char* const kLatin[] = { "office", "document", "layout", "Qt", "PDF", "2024", "section", "page" };

// About 600,000 characters: 500 pages.
std::unique_ptr<CMirelData> BuildDocument()
{
    auto doc = std::make_unique<CMirelData>();
    CWorkForm* wf = doc->GetWorkForm(0);
    CTextObj& body = *wf->GetPage(0)->TextColumn(0);
    std::mt19937 rng(2024);
    const std::string hanzi = Utf8ToGbk(kHanzi).text;
    SentenceAttributes plain;
    plain.sizeCode = -8;
    SentenceAttributes latin;
    latin.faceName = "Times New Roman";
    latin.sizeCode = -8;
    TextPosition at;
    long characters = 0;
    for (int paragraph = 0; characters < 600000; ++paragraph) {
        if (paragraph > 0)
            at = InsertCells(body, at, std::string("\r\0", 2), plain);
        const int length = 50 + static_cast<int>(rng() % 351);
        std::string run;
        for (int written = 0; written < length; ++written) {
            if (rng() % 100 < 15) {
                at = InsertCells(body, at, ToCells(run, false), plain);
                run.clear();
                at = InsertCells(body, at, ToCells(std::string(" ") + kLatin[rng() % 8] + " ", true), latin);
            } else {
                run += hanzi.substr(2 * (rng() % (hanzi.size() / 2)), 2);
            }
        }
        at = InsertCells(body, at, ToCells(run, false), plain);
        characters += length;
    }
    LayoutPendingText(*doc);
    return doc;
}

struct Fixture {
    std::unique_ptr<CMirelData> doc = BuildDocument();
    CTableView view;
    CTextTool* tool = nullptr;
    Fixture()
    {
        view.resize(1000, 800);
        view.AttachDocument(doc.get(), doc->GetWorkForm(0));
        view.OnInitialUpdate();
        view.SetZoom(1, 100);
        tool = TextToolOf(view);
        view.SetCurrentTool(tool);
    }
    // An offset in the middle of page 1.
    int MiddleOfPageOne()
    {
        const BodyFlow flow(*doc->GetWorkForm(0));
        return flow.ObjectStart(1) / 2 / 2 * 2;
    }
};

Fixture& Shared()
{
    static Fixture fixture;
    return fixture;
}

double Percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())));
    return v[i];
}

template <class Fn> double TimeMs(Fn&& fn)
{
    const auto t0 = std::chrono::steady_clock::now();
    fn();
    const auto t1 = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(t1 - t0).count();
}

// A thousand keys typed at `offset`, with their median, 99th percentile and
// slowest time.
void TypeAThousandKeys(benchmark::State& state, Fixture& f, int offset)
{
    for (auto _ : state) {
        f.tool->SetCaret(f.view, offset);
        std::vector<double> ms;
        ms.reserve(1000);
        for (int i = 0; i < 1000; ++i) {
            // Latin letters and, every fourth key, a Chinese character
            // committed by the input method.
            if (i % 4 == 3) {
                QInputMethodEvent e(QString(), {});
                e.setCommitString(QStringLiteral("字"));
                ms.push_back(TimeMs([&] { QCoreApplication::sendEvent(&f.view, &e); }));
            } else {
                const QChar c = QChar('a' + i % 26);
                QKeyEvent press(QEvent::KeyPress, Qt::Key_A + i % 26, Qt::NoModifier, QString(c));
                ms.push_back(TimeMs([&] { QCoreApplication::sendEvent(&f.view, &press); }));
            }
        }
        state.counters["median_ms"] = Percentile(ms, 0.5);
        state.counters["p99_ms"] = Percentile(ms, 0.99);
        state.counters["max_ms"] = Percentile(ms, 1.0);
    }
}

void BM_KeystrokesOnPageOne(benchmark::State& state)
{
    Fixture& f = Shared();
    TypeAThousandKeys(state, f, f.MiddleOfPageOne());
}
BENCHMARK(BM_KeystrokesOnPageOne)->Unit(benchmark::kMillisecond)->Iterations(1);

// At the end of the document, on the last page: everything before the caret
// stays where it is.
void BM_KeystrokesOnTheLastPage(benchmark::State& state)
{
    Fixture& f = Shared();
    const BodyFlow flow(*f.doc->GetWorkForm(0));
    TypeAThousandKeys(state, f, flow.Length() / 2 * 2);
}
BENCHMARK(BM_KeystrokesOnTheLastPage)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_EnterInTheMiddleOfPageOne(benchmark::State& state)
{
    Fixture& f = Shared();
    std::vector<double> ms;
    for (auto _ : state) {
        f.tool->SetCaret(f.view, f.MiddleOfPageOne());
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        ms.push_back(TimeMs([&] { QCoreApplication::sendEvent(&f.view, &enter); }));
    }
    state.counters["median_ms"] = Percentile(ms, 0.5);
    state.counters["max_ms"] = Percentile(ms, 1.0);
}
BENCHMARK(BM_EnterInTheMiddleOfPageOne)->Unit(benchmark::kMillisecond)->Iterations(50);

} // namespace

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
