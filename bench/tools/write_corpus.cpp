// Writes the benchmarks' generated pages as files, for timing the whole program:
//   trimlet-corpus page FILE MEGABYTES   one page of that size (UTF-8, many pages joined)
//   trimlet-corpus site FOLDER COUNT     COUNT pages of about 30 KB each, page00000.html ...
// The same bytes every time.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "../corpus.h"

namespace {

bool WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

int Usage() {
    std::fputs("usage: trimlet-corpus page FILE MEGABYTES | site FOLDER COUNT\n", stderr);
    return 2;
}

// Cuts the corpus at its page starts into pieces of about `pageBytes` each.
int WriteSite(const std::string& folder, long count) {
    constexpr std::size_t kPageBytes = 30 * 1024;
    const std::string corpus = trimlet::bench::MakeHtmlCorpus(
        trimlet::Charset::Utf8, static_cast<std::size_t>(count) * kPageBytes + kPageBytes);
    std::size_t start = 0;
    for (long i = 0; i < count; ++i) {
        std::size_t end = corpus.find("<!DOCTYPE", start + kPageBytes);
        if (end == std::string::npos) end = corpus.size();
        char name[32];
        std::snprintf(name, sizeof name, "/page%05ld.html", i);
        if (!WriteFile(folder + name, std::string_view(corpus).substr(start, end - start)))
            return 1;
        start = end < corpus.size() ? end : 0;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return Usage();
    const std::string what = argv[1];
    const long amount = std::strtol(argv[3], nullptr, 10);
    if (amount <= 0) return Usage();
    if (what == "page") {
        const std::string text = trimlet::bench::MakeHtmlCorpus(
            trimlet::Charset::Utf8, static_cast<std::size_t>(amount) << 20);
        return WriteFile(argv[2], text) ? 0 : 1;
    }
    if (what == "site") return WriteSite(argv[2], amount);
    return Usage();
}
