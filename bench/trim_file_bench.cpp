// Throughput of TrimFile on whole generated files: reading, charset detection or UTF-16
// conversion, trimming and the result buffer. The files are written once, outside the
// timed loop, into a temporary folder removed at exit.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "engine/trim_mode.h"
#include "platform/codepage.h"
#include "text/trim_file.h"

namespace trimlet {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kBlock =
    "<div class=\"entry\">\n"
    "    <!-- entry header -->\n"
    "    <h2>  季節のお茶  </h2>\n"
    "    <p>\n"
    "        山あいの茶房から、　今月のおすすめを   お届けします。\n"
    "        Steeped slowly, served warm.\n"
    "    </p>\n"
    "\n"
    "\n"
    "    <script type=\"text/javascript\">\n"
    "        // pick the tea of the day\n"
    "        var day = new Date().getDay();   /* 0 is Sunday */\n"
    "        show( \"tea-\" + day ) ;\n"
    "    </script>\n"
    "    <pre>  kept   as   is  </pre>\n"
    "</div>\n";

std::string Corpus(std::size_t size) {
    std::string text;
    text.reserve(size + kBlock.size());
    while (text.size() < size)
        text += kBlock;
    return text;
}

class BenchFiles {
  public:
    BenchFiles() {
        std::string pattern = (fs::temp_directory_path() / "trimlet-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) folder_ = pattern;
        std::string text = Corpus(16u << 20);
        Write("page.html", text);
        std::string wide = "\xFF\xFE";
        if (Utf8ToUtf16(Corpus(4u << 20), false, wide) == RESULT_OK) Write("page-utf16.html", wide);
    }
    ~BenchFiles() {
        std::error_code ec;
        if (!folder_.empty()) fs::remove_all(folder_, ec);
    }
    std::string Path(const char* name) const { return (folder_ / name).string(); }

  private:
    void Write(const char* name, const std::string& bytes) {
        std::ofstream(folder_ / name, std::ios::binary) << bytes;
    }
    fs::path folder_;
};

const BenchFiles& Files() {
    static const BenchFiles files;
    return files;
}

void TrimFileBench(benchmark::State& state, const char* name) {
    const std::string path = Files().Path(name);
    std::string out;
    std::uint64_t inputSize = 0, outputSize = 0;
    for (auto _ : state) {
        Result r = TrimFile(path, kDefaultTrimMode, "JS:VBS", out, inputSize, outputSize);
        if (r != RESULT_OK) {
            state.SkipWithError("TrimFile failed");
            break;
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * inputSize));
}

void BM_TrimFileHtml(benchmark::State& state) {
    TrimFileBench(state, "page.html");
}
void BM_TrimFileUtf16(benchmark::State& state) {
    TrimFileBench(state, "page-utf16.html");
}

BENCHMARK(BM_TrimFileHtml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrimFileUtf16)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace trimlet
