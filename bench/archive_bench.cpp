// Saving and loading large documents: pages with a full text column and
// twenty floating objects each. Figures vary with the state of the heap:
//   archive_bench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
#include "model/mirel_data.h"
#include "model/table_page.h"
#include "model/work_form.h"
#include "persist/native_file.h"
#include "text/sentence.h"
#include "text/text_obj.h"
#include "text/text_row.h"

#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include <memory>
#include <string>

namespace {

// Cells of n characters: Chinese with some Latin words.
std::string SampleCells(int n, int seed)
{
    static const char* hanzi[] = {"\xB9\xAB", "\xCE\xC4", "\xB1\xA8", "\xB8\xE6", "\xB2\xC6", "\xCE\xF1", "\xB1\xED", "\xB8\xF1"};
    std::string cells;
    cells.reserve(n * 2);
    for (int i = 0; i < n; ++i) {
        if ((i + seed) % 5 == 0) {
            cells += 'a' + (i % 26);
            cells += '\0';
        } else {
            cells += hanzi[(i * 7 + seed) % 8];
        }
    }
    return cells;
}

// A column holding `chars` characters in rows of 40, two runs a row.
void FillColumn(CTextObj& col, int chars, int seed)
{
    col.ClearRows();
    const int perRow = 40;
    for (int done = 0, r = 0; done < chars; done += perRow, ++r) {
        auto row = std::make_unique<CTextRow>();
        row->SetRect(0, r * 50, 1700, r * 50 + 45);
        for (int half = 0; half < 2; ++half) {
            auto s = std::make_unique<CSentence>();
            s->SetRect(half * 850, 0, half * 850 + 850, 45);
            s->SetText(SampleCells(perRow / 2, seed + r + half));
            if (half)
                s->MutableAttributes().weight = 700;
            row->InsertSentence(row->SentenceCount(), std::move(s));
        }
        col.InsertRow(col.RowCount(), std::move(row));
    }
}

std::unique_ptr<CMirelData> BigDocument(int pages)
{
    auto doc = std::make_unique<CMirelData>();
    CWorkForm* wf = doc->GetWorkForm(0);
    for (int p = 0; p < pages; ++p) {
        CTablePage* page = p == 0 ? wf->GetPage(0) : wf->AddPage();
        FillColumn(*page->TextColumn(0), 2000, p);
        for (int k = 0; k < 20; ++k) {
            auto box = std::make_unique<CTextObj>();
            box->SetRect(100 + k * 50, 100 + k * 100, 600 + k * 50, 300 + k * 100);
            FillColumn(*box, 10, k);
            if (k % 4 == 0)
                box->SetBelowText();
            page->AddObject(std::move(box));
        }
    }
    wf->objectCounter = pages * 20;
    return doc;
}

// Saving as a file is written: the stream hands blocks to the file, here a
// sink that only counts them, so the disk does not enter the figure.
void Save(benchmark::State& state, CMirelData& doc)
{
    size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        mirel::WriteNativeStream(doc, [&bytes](std::string_view block) {
            bytes += block.size();
            benchmark::DoNotOptimize(block.data());
        });
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
    state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}

// A document built in memory.
void BM_Save(benchmark::State& state)
{
    Save(state, *BigDocument(static_cast<int>(state.range(0))));
}

// A document read from a file, as the program saves it.
void BM_SaveLoaded(benchmark::State& state)
{
    const std::string file = mirel::NativeBytes(*BigDocument(static_cast<int>(state.range(0))));
    CMirelData doc;
    if (!mirel::ReadNativeBytes(file, doc).ok())
        state.SkipWithError("the document did not read back");
    Save(state, doc);
}

// Reads the file once an iteration as the program opens a file over the
// open one: the new document is read while the previous one is still in
// memory, and the previous one is freed afterwards (not timed; BM_Free
// measures it). The program has opened documents of this size before.
void BM_Load(benchmark::State& state)
{
    const std::string bytes = mirel::NativeBytes(*BigDocument(static_cast<int>(state.range(0))));
    // Two documents were open before: the memory they used is there to take.
    std::unique_ptr<CMirelData> open;
    for (int i = 0; i < 2; ++i) {
        auto doc = std::make_unique<CMirelData>();
        if (!mirel::ReadNativeBytes(bytes, *doc).ok())
            state.SkipWithError("the document did not read back");
        open = std::move(doc);
    }
    for (auto _ : state) {
        auto doc = std::make_unique<CMirelData>();
        if (!mirel::ReadNativeBytes(bytes, *doc).ok())
            state.SkipWithError("the document did not read back");
        benchmark::DoNotOptimize(doc.get());
        state.PauseTiming();
        open = std::move(doc);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes.size()) * state.iterations());
    state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
}

// Runs fn in a child process and hands back what it wrote to the pipe.
template <class Fn>
std::string FromChild(Fn&& fn)
{
    int fd[2];
    if (pipe(fd) != 0)
        return {};
    const pid_t pid = fork();
    if (pid == 0) {
        close(fd[0]);
        const std::string out = fn();
        for (size_t done = 0; done < out.size();) {
            const ssize_t n = write(fd[1], out.data() + done, out.size() - done);
            if (n <= 0)
                _exit(1);
            done += static_cast<size_t>(n);
        }
        _exit(0);
    }
    close(fd[1]);
    std::string in;
    char buf[65536];
    for (ssize_t n; (n = read(fd[0], buf, sizeof buf)) > 0;)
        in.append(buf, static_cast<size_t>(n));
    close(fd[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? in : std::string();
}

// The first file a program opens: each read runs in a new child process, so
// every page of the model is fresh memory from the kernel. This process never
// makes a document itself (the file is built in a child too), so the children
// start with no memory of earlier documents. Registered first, so that it runs
// before the other benchmarks have made documents in this process.
void BM_LoadFreshProcess(benchmark::State& state)
{
    const int pages = static_cast<int>(state.range(0));
    const std::string bytes = FromChild([pages] { return mirel::NativeBytes(*BigDocument(pages)); });
    if (bytes.empty()) {
        state.SkipWithError("the file could not be built");
        return;
    }
    for (auto _ : state) {
        const std::string seconds = FromChild([&bytes] {
            const auto start = std::chrono::steady_clock::now();
            CMirelData doc;
            const bool ok = mirel::ReadNativeBytes(bytes, doc).ok();
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            return ok ? std::to_string(took.count()) : std::string();
        });
        if (seconds.empty()) {
            state.SkipWithError("the document did not read back");
            return;
        }
        state.SetIterationTime(std::stod(seconds));
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes.size()) * state.iterations());
    state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
}

// Freeing a document read from a file (closing it, opening another).
void BM_Free(benchmark::State& state)
{
    const std::string bytes = mirel::NativeBytes(*BigDocument(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<CMirelData>();
        if (!mirel::ReadNativeBytes(bytes, *doc).ok())
            state.SkipWithError("the document did not read back");
        state.ResumeTiming();
        doc.reset();
    }
}

}  // namespace

BENCHMARK(BM_LoadFreshProcess)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2);
BENCHMARK(BM_Save)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_SaveLoaded)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_Load)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_Free)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK_MAIN();
