// The file list at scale: adding a folder of small HTML files with their previews, sorting
// by two columns and refreshing every row. The time per file should stay the same from a
// thousand files to ten thousand. The files are written once per size, outside the timed
// loop, into temporary folders removed at exit.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <system_error>
#include <thread>

#include "editor/task_editor.h"
#include "scripted_dialogs.h"
#include "settings/memory_profile.h"

namespace trimlet {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPage =
    "<html>\n"
    "<head>\n"
    "    <title>  page  </title>\n"
    "    <!-- generated -->\n"
    "</head>\n"
    "<body>\n"
    "    <p>\n"
    "        季節のお茶を   お届けします。\n"
    "    </p>\n"
    "\n"
    "\n"
    "    <script type=\"text/javascript\">\n"
    "        // the day\n"
    "        var day = new Date().getDay();   /* 0 is Sunday */\n"
    "    </script>\n"
    "</body>\n"
    "</html>\n";

class SiteFolder {
  public:
    explicit SiteFolder(int fileCount) {
        std::string pattern = (fs::temp_directory_path() / "trimlet-list-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) return;
        folder_ = pattern;
        for (int i = 0; i < fileCount; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "page%05d.htm", (i * 7919) % fileCount);
            std::ofstream file(folder_ / name, std::ios::binary);
            file << kPage << "<!-- " << i << " -->\n";
        }
        // Files changed in the last two seconds are trimmed again when their row is filled
        // rather than taken from the workers; a user's site is older than that.
        std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    }
    ~SiteFolder() {
        std::error_code ec;
        if (!folder_.empty()) fs::remove_all(folder_, ec);
    }
    SiteFolder(const SiteFolder&) = delete;
    SiteFolder& operator=(const SiteFolder&) = delete;

    std::string path() const { return folder_.string(); }

  private:
    fs::path folder_;
};

const SiteFolder& Site(int fileCount) {
    static std::map<int, std::unique_ptr<SiteFolder>> sites;
    std::unique_ptr<SiteFolder>& site = sites[fileCount];
    if (!site) site = std::make_unique<SiteFolder>(fileCount);
    return *site;
}

void BM_AddFolderSortRefresh(benchmark::State& state) {
    const int fileCount = static_cast<int>(state.range(0));
    const std::string folder = Site(fileCount).path();
    for (auto _ : state) {
        MemoryProfile profile;
        ScriptedDialogs dialogs;
        TaskEditor editor(dialogs, profile, PathStyle::Posix, [&folder](std::string& f) {
            f = folder;
            return true;
        });
        editor.AddChosenFolder(folder);
        editor.List().SortByColumnClick(kColumnSourceSize);
        editor.List().SortByColumnClick(kColumnName);
        editor.RefreshAll();
        if (editor.List().RowCount() != static_cast<std::size_t>(fileCount)) {
            state.SkipWithError("not every file was listed");
            break;
        }
        benchmark::DoNotOptimize(editor.List().Text(0, kColumnTrimmedSize).data());
    }
    state.SetItemsProcessed(state.iterations() * fileCount);
}

BENCHMARK(BM_AddFolderSortRefresh)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace trimlet
