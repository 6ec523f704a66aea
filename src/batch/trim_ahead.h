#pragma once
// Trims the next file of a run on a second thread while the run's own thread writes the
// one before: reading and trimming a page take about half of a run's time, and the writes,
// questions and rows stay on the run's thread, in list order. A result made ahead is used
// only if, when the file's turn comes, the trim mode is the same and the file and every
// style sheet its trim looked at (or found missing) are still as they were read; otherwise
// the run trims the file itself. The worker only reads files, one at a time, and holds at
// most the result of the files offered and not yet taken or withdrawn.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
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
    // Files larger than this are left to the run: the worker adds at most about twice this
    // to the run's memory, so that a run that fits a memory limit without it fits with it
    // unless the limit is that tight. Pages of a site are far smaller.
    static constexpr std::uint64_t kMaxFileSize = std::uint64_t{16} << 20;
    // A file (page or style sheet) changed less than this long before it was read may change
    // again without its stamp showing it (file times are coarse on some file systems); a
    // result that read one is not used.
    static constexpr std::chrono::nanoseconds kSettleTime = kStampSettleTime;

    // The settings every file is trimmed with; `stylesheets` (shared, may be null) must
    // outlive this.
    TrimAhead(std::string scriptExtensions, std::vector<std::string> keptComments,
              StylesheetCache* stylesheets, std::chrono::nanoseconds settleTime = kSettleTime);
    ~TrimAhead();
    TrimAhead(const TrimAhead&) = delete;
    TrimAhead& operator=(const TrimAhead&) = delete;

    // Whether trimming ahead can pay here: there is a second core, the address space is not
    // limited (and TRIMLET_TRIM_AHEAD is not 0).
    static bool Pays();

    // Asks for the file at `path` (absolute) to be trimmed in `mode`, after those asked
    // for before.
    void Offer(const std::string& path, TrimMode mode);
    // The same, once the run next calls Take, that is once it trims the file before this
    // one: a file whose turn ends without a trim (skipped) starts no trim of the next. An
    // empty `path` offers nothing; a later call replaces an earlier one.
    void OfferOnTake(std::string path, TrimMode mode);
    // The run will not trim `path` now: it is not trimmed ahead, and a trim of it under way
    // is dropped when it ends, without anyone waiting for it.
    void Withdraw(const std::string& path);
    // The result for `path` in `mode` if that file is the next one offered (those offered
    // before it are withdrawn) and its trim has begun (it is waited for), and the file and
    // the style sheets it read are unchanged since; else nothing, and the run trims it.
    std::optional<TrimmedAhead> Take(const std::string& path, TrimMode mode);

    // How many files the worker has begun to trim.
    std::size_t StartedCount() const;

  private:
    struct Job {
        std::string path;
        TrimMode mode = 0;
        bool started = false;
        bool done = false;
        bool withdrawn = false;
        TrimmedAhead trimmed;
        FileStamp stamp;
        FileStamp::Time readAt;
        std::vector<ConsultedSheet> sheets;
    };

    void Work();
    // Whether the file and the sheets `job` read are still as they were, and were read
    // long enough after they last changed for their stamps to tell.
    bool StillAsRead(const Job& job) const;

    const std::string scriptExtensions_;
    const std::vector<std::string> keptComments_;
    StylesheetCache* const stylesheets_;
    const std::chrono::nanoseconds settleTime_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool quit_ = false;
    std::size_t started_ = 0;
    std::string onTakePath_;
    TrimMode onTakeMode_ = 0;
    // In the order offered; the worker does the first not started. A withdrawn job under
    // way is no longer here: only the worker holds it.
    std::deque<std::shared_ptr<Job>> jobs_;
    std::thread worker_;  // last: started once the rest is set
};

}  // namespace trimlet
