#pragma once
// Trims the next file of a run on a second thread while the run's own thread writes the
// one before: reading and trimming a page take about half of a run's time, and the writes,
// questions and rows stay on the run's thread, in list order. A result made ahead is used
// only if the file is still the one that was read (same file, size, times and mode) when
// its turn comes and the trim mode is the same; otherwise the run trims the file itself.
// The worker only reads files.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "common/result.h"
#include "engine/trim_mode.h"
#include "platform/file_stamp.h"
#include "text/stylesheets.h"

namespace trimlet {

// What TrimFile gave for one file.
struct TrimmedAhead {
    Result result = RESULT_OK;
    std::string bytes;
    std::uint64_t inputSize = 0;
    std::uint64_t outputSize = 0;
};

class TrimAhead {
  public:
    // The settings every file is trimmed with; `stylesheets` (shared, may be null) must
    // outlive this.
    TrimAhead(std::string scriptExtensions, std::vector<std::string> keptComments,
              StylesheetCache* stylesheets);
    ~TrimAhead();
    TrimAhead(const TrimAhead&) = delete;
    TrimAhead& operator=(const TrimAhead&) = delete;

    // Whether trimming ahead can pay here: there is a second core (and TRIMLET_TRIM_AHEAD
    // is not 0).
    static bool Pays();

    // Asks for the file at `path` (absolute) to be trimmed in `mode`, after those asked
    // for before.
    void Offer(const std::string& path, TrimMode mode);
    // The result for `path` in `mode`, once it is ready, if that file is the next one
    // offered (those offered before it and not taken are dropped) and is unchanged since
    // it was read; else nothing.
    std::optional<TrimmedAhead> Take(const std::string& path, TrimMode mode);

  private:
    struct Job {
        std::string path;
        TrimMode mode = 0;
        bool done = false;
        TrimmedAhead trimmed;
        FileStamp stamp;
    };

    void Work();

    const std::string scriptExtensions_;
    const std::vector<std::string> keptComments_;
    StylesheetCache* const stylesheets_;

    std::mutex mutex_;
    std::condition_variable changed_;
    bool quit_ = false;
    std::deque<Job> jobs_;  // in the order offered; the worker does the first not done
    std::thread worker_;    // last: started once the rest is set
};

}  // namespace trimlet
