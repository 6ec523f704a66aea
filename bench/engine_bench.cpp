// Throughput of the trim engine over generated pages and scripts of 8 MB and more,
// built once outside the timed loop.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "corpus.h"
#include "engine/trim_engine.h"
#include "platform/read_file.h"
#include "text/text_loading.h"

namespace trimlet {
namespace {

constexpr std::size_t kCorpusBytes = 8u << 20;

const std::string& HtmlCorpus(Charset charset) {
    static const std::string cp932 = bench::MakeHtmlCorpus(Charset::Cp932, kCorpusBytes);
    static const std::string utf8 = bench::MakeHtmlCorpus(Charset::Utf8, kCorpusBytes);
    return charset == Charset::Cp932 ? cp932 : utf8;
}

const std::string& ScriptCorpus() {
    static const std::string text = bench::MakeScriptCorpus(Charset::Cp932, kCorpusBytes);
    return text;
}

void TrimHtmlOf(benchmark::State& state, const std::string& text, Charset charset, TrimMode mode) {
    std::string out;
    for (auto _ : state) {
        if (TrimHtmlText(text, out, mode, charset) != RESULT_OK) state.SkipWithError("failed");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
    state.counters["reduction_%"] = 100.0 * (1.0 - double(out.size()) / double(text.size()));
}

void TrimHtml(benchmark::State& state, Charset charset, TrimMode mode) {
    TrimHtmlOf(state, HtmlCorpus(charset), charset, mode);
}

void BM_TrimHtmlCp932(benchmark::State& state) {
    TrimHtml(state, Charset::Cp932, kDefaultTrimMode);
}
void BM_TrimHtmlUtf8(benchmark::State& state) {
    TrimHtml(state, Charset::Utf8, kDefaultTrimMode);
}
void BM_TrimHtmlCp932AllOptions(benchmark::State& state) {
    TrimHtml(
        state, Charset::Cp932,
        (kDefaultTrimMode | TM_ZENKAKU_AS_WSP | TM_CR_REG_AS_WSP) & ~TM_KEEP_SCRIPT_HTML_COMMENT);
}

void TrimScriptOf(benchmark::State& state, const std::string& text) {
    std::string out;
    for (auto _ : state) {
        if (TrimScriptText(text, out, kDefaultTrimMode, false) != RESULT_OK) {
            state.SkipWithError("failed");
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}

void BM_TrimScriptJavaScript(benchmark::State& state) {
    TrimScriptOf(state, ScriptCorpus());
}

// A script of little but short literals, as a generated data file is: its throughput
// should stay close to that of ordinary code.
void BM_TrimScriptDataArray(benchmark::State& state) {
    static const std::string text = [] {
        std::string t = "var data = [\r\n";
        for (int n = 0; t.size() < kCorpusBytes; ++n)
            t += "  \"item" + std::to_string(n) + "\", 'x', \"\", " + std::to_string(n) + ",\r\n";
        return t + "];\r\n";
    }();
    TrimScriptOf(state, text);
}

// Reference point on the same bytes: one pass that copies the text and collapses each run
// of blanks and line breaks to one space. The engine's throughput is best read as a ratio
// to this, since the machine's load moves both alike.
void BM_CollapseCopyBaseline(benchmark::State& state) {
    const std::string& text = HtmlCorpus(Charset::Cp932);
    std::string out(text.size(), '\0');
    for (auto _ : state) {
        char* dst = out.data();
        bool blank = false;
        for (const char c : text) {
            const bool isBlank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
            *dst = isBlank ? ' ' : c;
            dst += !(isBlank && blank);
            blank = isBlank;
        }
        benchmark::DoNotOptimize(dst);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}

BENCHMARK(BM_CollapseCopyBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrimHtmlCp932)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrimHtmlUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrimHtmlCp932AllOptions)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrimScriptJavaScript)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrimScriptDataArray)->Unit(benchmark::kMillisecond);

// The engine on the page named by TRIMLET_BENCH_PAGE, read once: what the whole program
// is compared with on the very same bytes (bench/whole_program.sh).
const bool kPageBenchmark = [] {
    const char* path = std::getenv("TRIMLET_BENCH_PAGE");
    if (path == nullptr || *path == '\0') return false;
    benchmark::RegisterBenchmark("BM_TrimHtmlPage", [page = std::string(path)](
                                                        benchmark::State& state) {
        std::string text;
        std::uint64_t size = 0;
        if (ReadRegularFile(page, kMaxFileSize, text, size) != RESULT_OK) {
            state.SkipWithError("cannot read TRIMLET_BENCH_PAGE");
            return;
        }
        TrimHtmlOf(state, text, DetectCharset(text), kDefaultTrimMode);
    })->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace
}  // namespace trimlet
