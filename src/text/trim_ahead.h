#pragma once
// Trimming the files of a list ahead of their use, on worker threads, while the caller goes
// through the list in order on its own thread: it asks, reports, writes and updates rows as
// before, and finds each file's trim ready (or waits for it). A result made ahead is used
// only while the file is still the one that was read; otherwise the file is trimmed again
// at the moment it is asked for, so the caller always gets what TrimFile would give then.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "common/result.h"
#include "engine/trim_mode.h"
#include "platform/read_file.h"
#include "text/file_look.h"

namespace trimlet {

struct TrimAheadOptions {
    // Bytes of files being trimmed or trimmed and not yet asked for; no further file is
    // started beyond it, except the one the caller waits for.
    std::uint64_t maxBytesAhead = std::uint64_t{64} << 20;
    // How many files past the one in use may be started; 0 starts no worker. Off unless
    // asked for: on a 2-core machine the caller's own work (rows, writes) leaves a worker
    // too little to take over, and every wait for a worker the scheduler has not run costs
    // more than the trims it saved (see bench/file_list_bench.cpp). 64 is a good value.
    std::size_t maxFilesAhead = 0;
    // Worker threads; 0 takes one per hardware thread beside the caller's. With one hardware
    // thread, or a list of one file, there is none and every trim happens when asked for.
    unsigned threads = 0;
    // False when the caller wants only the sizes: trimmed bytes are dropped at once.
    bool keepBytes = true;
    // A trim made ahead is kept only for a file last changed at least this long before it
    // was read: a later change within the same tick of the file system's clock would leave
    // its times as they were. Tests that change files by size or by replacing them may
    // pass 0.
    std::int64_t settledSeconds = 2;
    // Non-zero: files are looked at as LookAtFile does with this many bytes for the text
    // test, for Look; a file whose first bytes do not look like text is not trimmed ahead.
    std::size_t textTestBytes = 0;
};

class TrimAhead {
  public:
    // Starts trimming `paths` with `trimMode` (run bits removed by the caller) and the
    // script extension list, in list order.
    TrimAhead(std::vector<std::string> paths, TrimMode trimMode, std::string scriptExtensions,
              TrimAheadOptions options = {});
    // Waits for the files being trimmed; starts no other.
    ~TrimAhead();
    TrimAhead(const TrimAhead&) = delete;
    TrimAhead& operator=(const TrimAhead&) = delete;

    // TrimFile for `path` and `trimMode`, with TrimFile's results. Files of the list before
    // `path` that were not asked for are given up. A path or mode the list does not hold
    // next is trimmed at once. With keepBytes false, `outBytes` may be left empty.
    [[nodiscard]] Result Trim(const std::string& path, TrimMode trimMode, std::string& outBytes,
                              std::uint64_t& inputSize, std::uint64_t& outputSize);
    // Trim for the sizes only. Asking again for the file asked for last, while it is
    // unchanged, gives its sizes without trimming it again.
    [[nodiscard]] Result Measure(const std::string& path, TrimMode trimMode,
                                 std::uint64_t& inputSize, std::uint64_t& outputSize);
    // LookAtFile for `path` with the options' text test, from the look made ahead while the
    // file is unchanged. Returns look.result.
    Result Look(const std::string& path, TrimMode trimMode, FileLook& look);

    // How many worker threads run, and how many files they have trimmed (tests, benchmarks).
    std::size_t WorkerCount() const { return workers_.size(); }
    std::size_t TrimmedAheadCount();
    // How many trims made ahead were handed to the caller.
    std::size_t UsedCount() const { return usedCount_; }

  private:
    enum class State : std::uint8_t { Waiting, Working, Done, Gone };
    struct Outcome {
        FileLook look;
        bool settled = false;  // the file had not changed for a while when it was read
    };
    struct Item {
        std::string path;
        State state = State::Waiting;
        std::uint64_t charge = 0;  // counted in heldBytes_
        Outcome outcome;
    };

    Outcome TrimNow(const std::string& path, TrimMode trimMode, std::size_t textTestBytes) const;
    bool StillCurrent(const std::string& path, const Outcome& outcome) const;
    // The item for `path` at or after the cursor, or items_.size().
    std::size_t Find(const std::string& path) const;
    // Gives up the items before `index` and makes it the one in use.
    void MoveCursorTo(std::size_t index);
    void Release(Item& item);
    bool CanStart() const;
    void Work();
    // The outcome for `path`: made ahead while it is still current, else made now. Only
    // Look (`forLook`) takes a file left untrimmed for its first bytes, and only Look
    // makes the text test.
    Result Take(const std::string& path, TrimMode trimMode, bool forLook, Outcome& outcome);

    const TrimMode trimMode_;
    const std::string scriptExtensions_;
    const TrimAheadOptions options_;
    std::vector<Item> items_;

    // Whether an idle worker should be woken: room for a batch of files, or the caller
    // needs the next one.
    bool WorthWaking() const;

    std::mutex mutex_;
    // Workers sleep on workReady_ and the caller on fileDone_, each woken only when it has
    // something to do: every wake-up of a thread the scheduler has not run costs the
    // caller more than trimming a small file.
    std::condition_variable workReady_;  // room to start files, or stop
    std::condition_variable fileDone_;   // the file the caller waits for is done
    std::size_t idleWorkers_ = 0;        // waiting for a file to start
    std::size_t roomWaiters_ = 0;        // holding a file, waiting for room for its bytes
    bool callerWaiting_ = false;
    std::size_t cursor_ = 0;  // the next item the caller is expected to ask for
    std::size_t next_ = 0;    // the next item a worker may start
    std::uint64_t heldBytes_ = 0;
    bool stopping_ = false;
    std::size_t trimmedAhead_ = 0;
    std::size_t usedCount_ = 0;
    std::vector<std::thread> workers_;

    // The last file asked for, for Measure after Trim of the same file (caller's thread).
    std::string lastPath_;
    Outcome last_;
    bool haveLast_ = false;
};

}  // namespace trimlet
