// Text layout speed on a long document: 500 A4 pages of body text (about
// 600,000 characters, Chinese with a fifth Latin, paragraphs of 50 to 400
// characters in several faces and sizes), measured with the installed fonts.
//
//   text_layout_bench                      all measurements
//   text_layout_bench --benchmark_filter=Insert
//
// Targets (measured, not asserted): a full layout under 200 ms; one typed
// character on page 1 laid out again under 1 ms (median); one dense page
// drawn into an image under 10 ms.
#include "graphics/page_renderer.h"
#include "model/mirel_data.h"
#include "model/table_page.h"
#include "model/view_context.h"
#include "model/work_form.h"
#include "platform/cells.h"
#include "platform/gbk.h"
#include "surface/draw_surface.h"
#include "text/text_edit.h"
#include "text/text_layout.h"
#include "text/sentence.h"
#include "text/text_obj.h"
#include "text/text_row.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace mirel;

namespace {

// Common characters of office documents, and some Latin words.
const char* const kHanzi =
    "的一是在不了有和人这中大为上个国我以要他时来用们生到作地于出就分对成会可主发年动同工也能下过子说产种面而方后多定"
    "行学法所民得经十三之进着等部度家电力里如水化高自二理起小物现实加量都两体制机当使点从业本去把性好应开它合还因由其些"
    "然前外天政四日那社义事平形相全表间样与关各重新线内数正心反你明看原又么利比或但质气第向道命此变条只没结解问意建月公"
    "无系军很情者最立代想已通并提直题党程展五果料象员革位入常文总次品式活设及管特件长求老头基资边流路级少图山统接知较将"
    "组见计别她手角期根论运农指几九区强放决西被干做必战先回则任取据处队南给色光门即保治北造百规热领七海口东导器压志世金"
    "增争济阶油思术极交受联什认六共权收证改清己美再采转更单风切打白教速花带安场身车例真务具万每目至达走积示议声报斗完类"
    "八离华名确才科张信马节话米整空元况今集温传土许步群广石记需段研界拉林律叫且究观越织装影算低持音众书布复容儿须际商非"
    "验连断深难近矿千周委素技备半办青省列习响约支般史感劳便团往酸历市克何除消构府称太准精值号率族维划选标写存候毛亲快效"
    "斯院查江型眼王按格养易置派层片始却专状育厂京识适属圆包火住调满县局照参红细引听该铁价严";
const char* const kLatin[] = {"office", "document", "layout", "Qt", "PDF", "2024", "GB/T 9704", "section",
                              "page", "column", "reference", "ISO", "draft", "v1.2", "table", "annex"};
const char* const kPunct[] = {"，", "。", "；", "、", "：", "“", "”", "（", "）"};

struct Corpus {
    CMirelData doc;
    CWorkForm* wf = nullptr;
    long characters = 0;
    int paragraphs = 0;
};

// Character styles: faces and sizes of an official document.
std::vector<SentenceAttributes> Styles()
{
    std::vector<SentenceAttributes> out;
    auto style = [&](const char* face, int size, int weight) {
        SentenceAttributes a;
        a.faceName = Utf8ToGbk(face).text;
        a.sizeCode = size;
        a.weight = weight;
        out.push_back(a);
    };
    style("宋体", -8, 400);    // body: 小四
    style("宋体", -8, 400);
    style("宋体", -8, 400);
    style("仿宋_GB2312", -7, 400);   // 四号
    style("楷体", -8, 400);
    style("黑体", -6, 700);    // 三号 bold
    style("宋体", 12, 400);
    return out;
}

std::unique_ptr<Corpus> BuildCorpus(long targetCharacters, bool layOut)
{
    auto c = std::make_unique<Corpus>();
    c->wf = c->doc.GetWorkForm(0);
    CTextObj& body = *c->wf->GetPage(0)->TextColumn(0);
    ParagraphAttributes para;
    para.firstLineIndent = 2;
    para.lineSpace = 60;
    body.GetRow(0)->SetParagraph(para);

    std::mt19937 rng(2024);
    const std::string hanzi = Utf8ToGbk(kHanzi).text;
    const size_t hanziCount = hanzi.size() / 2;
    const std::vector<SentenceAttributes> styles = Styles();
    SentenceAttributes latinStyle;
    latinStyle.faceName = "Times New Roman";
    latinStyle.sizeCode = -8;

    TextPosition at;
    while (c->characters < targetCharacters) {
        if (c->paragraphs > 0)
            at = InsertCells(body, at, std::string("\r\0", 2), styles[0]);
        const int length = 50 + static_cast<int>(rng() % 351);
        const SentenceAttributes& style = styles[rng() % styles.size()];
        int written = 0;
        std::string run;
        while (written < length) {
            const unsigned roll = rng() % 100;
            if (roll < 20) {
                if (!run.empty()) {
                    at = InsertCells(body, at, ToCells(run, false), style);
                    run.clear();
                }
                std::string word = std::string(" ") + kLatin[rng() % 16] + " ";
                written += static_cast<int>(word.size());
                at = InsertCells(body, at, ToCells(word, true), latinStyle);
            } else if (roll < 27) {
                run += Utf8ToGbk(kPunct[rng() % 9]).text;
                ++written;
            } else {
                const size_t k = rng() % hanziCount;
                run += hanzi.substr(2 * k, 2);
                ++written;
            }
        }
        if (!run.empty())
            at = InsertCells(body, at, ToCells(run, false), style);
        c->characters += written;
        ++c->paragraphs;
    }
    if (layOut)
        LayoutPendingText(c->doc);
    return c;
}

Corpus& Shared()
{
    static std::unique_ptr<Corpus> corpus = BuildCorpus(600000, true);
    return *corpus;
}

// A column and position on page 1, inside its second paragraph.
std::pair<CTextObj*, TextPosition> PlaceOnPageOne(Corpus& c)
{
    CTextObj* col = c.wf->GetPage(0)->TextColumn(0);
    for (int r = 1; r < col->RowCount(); ++r)
        if (col->GetRow(r)->StartsParagraph())
            return {col, TextPosition{r, 0, 6}};
    return {col, TextPosition{0, 0, 2}};
}

class PageView : public ViewContext {
public:
    explicit PageView(int dpi) : dpi_(dpi) {}
    int ZoomPercent() const override { return 100; }
    int DpiY() const override { return dpi_; }
    Point PageOrigin(const CTablePage*) const override { return {}; }
    void InvalidatePixels(const Rect&) override {}

private:
    int dpi_;
};

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void Report(benchmark::State& state, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = Median(ms);
    state.counters["p90_ms"] = ms.empty() ? 0 : ms[ms.size() * 9 / 10];
    state.counters["max_ms"] = ms.empty() ? 0 : ms.back();
}

// ---------------------------------------------------------------- benchmarks

// The whole body text laid out again from its first row.
void BM_FullLayout(benchmark::State& state)
{
    Corpus& c = Shared();
    for (auto _ : state)
        LayoutBodyText(*c.wf, nullptr, true);
    state.counters["pages"] = c.wf->PageCount();
    state.counters["characters"] = static_cast<double>(c.characters);
    state.counters["paragraphs"] = c.paragraphs;
}
BENCHMARK(BM_FullLayout)->Unit(benchmark::kMillisecond)->Iterations(5);

// Import: every paragraph inserted into an empty document, then one layout
// (pages created as the text needs them).
void BM_ImportAndLayout(benchmark::State& state)
{
    for (auto _ : state) {
        auto corpus = BuildCorpus(600000, true);
        benchmark::DoNotOptimize(corpus->wf->PageCount());
        state.PauseTiming();
        corpus.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportAndLayout)->Unit(benchmark::kMillisecond)->Iterations(2);

// One character typed into a paragraph on page 1, then layout; each
// measured insertion is taken out again (not measured).
void BM_InsertCharacterOnPageOne(benchmark::State& state)
{
    Corpus& c = Shared();
    const std::string cell = Utf8ToGbk("字").text;
    std::vector<double> ms;
    for (auto _ : state) {
        auto [col, at] = PlaceOnPageOne(c);
        const auto t0 = std::chrono::steady_clock::now();
        const TextPosition after = InsertCells(*col, at, cell, col->GetRow(at.row)->GetSentence(0)->Attributes());
        LayoutText(*col);
        const auto t1 = std::chrono::steady_clock::now();
        ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        state.PauseTiming();
        const int offset = col->PositionToOffset(at);
        (void)after;
        DeleteRange(*col, col->OffsetToPosition(offset), col->OffsetToPosition(offset + 2));
        LayoutText(*col);
        state.ResumeTiming();
    }
    Report(state, ms);
}
BENCHMARK(BM_InsertCharacterOnPageOne)->Unit(benchmark::kMicrosecond)->Iterations(300);

// The worst single edit: a paragraph break on page 1 moves every later row
// of the document down (rows are moved, not broken again).
void BM_InsertParagraphBreakOnPageOne(benchmark::State& state)
{
    Corpus& c = Shared();
    std::vector<double> ms;
    int shifted = 0;
    for (auto _ : state) {
        auto [col, at] = PlaceOnPageOne(c);
        const auto t0 = std::chrono::steady_clock::now();
        InsertCells(*col, at, std::string("\r\0", 2), {});
        const LayoutStats stats = LayoutText(*col);
        const auto t1 = std::chrono::steady_clock::now();
        ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        shifted = stats.rowsShifted;
        state.PauseTiming();
        const int offset = col->PositionToOffset(at);
        DeleteRange(*col, col->OffsetToPosition(offset), col->OffsetToPosition(offset + 2));
        LayoutText(*col);
        state.ResumeTiming();
    }
    Report(state, ms);
    state.counters["rows_moved"] = shifted;
}
BENCHMARK(BM_InsertParagraphBreakOnPageOne)->Unit(benchmark::kMillisecond)->Iterations(20);

// One dense page drawn into an image as the screen would (96 dpi) and as
// the PNG export does (150 dpi).
void BM_DrawDensePage(benchmark::State& state)
{
    Corpus& c = Shared();
    const int dpi = static_cast<int>(state.range(0));
    PageView view(dpi);
    QImage image(view.ToPixels(c.wf->pageWidth) + 1, view.ToPixels(c.wf->pageHeight) + 1, QImage::Format_RGB32);
    const CTablePage& page = *c.wf->GetPage(std::min(10, c.wf->PageCount() - 1));
    std::vector<double> ms;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        image.fill(Qt::white);
        DrawSurface dc(image, dpi, dpi);
        DrawPageContent(page, view, dc);
        dc.end();
        const auto t1 = std::chrono::steady_clock::now();
        ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    Report(state, ms);
    long cells = 0;
    for (const auto& col : page.TextColumns())
        cells += col->TextLength() / 2;
    state.counters["characters_on_page"] = static_cast<double>(cells);
}
BENCHMARK(BM_DrawDensePage)->Arg(96)->Arg(150)->Unit(benchmark::kMillisecond)->Iterations(30);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
