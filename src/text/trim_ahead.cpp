#include "text/trim_ahead.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <new>
#include <system_error>
#include <utility>

namespace trimlet {

namespace {

// A file whose last change is older than `settledSeconds` when it is read cannot change again
// without its status-change time moving past the one noted, even on file systems that keep
// times in whole seconds (or two). A file changed more recently may change again within the
// same tick of its clock unseen, so its trim is not kept for later.
FileReadStamp::Time Now() {
    using namespace std::chrono;
    const auto since = system_clock::now().time_since_epoch();
    const auto seconds = duration_cast<std::chrono::seconds>(since);
    return {seconds.count(), duration_cast<nanoseconds>(since - seconds).count()};
}

bool SettledBefore(const FileReadStamp::Time& changed, const FileReadStamp::Time& readStart,
                   std::int64_t settledSeconds) {
    const FileReadStamp::Time limit{readStart.seconds - settledSeconds, readStart.nanoseconds};
    return changed < limit;
}

// TRIMLET_TRIM_AHEAD=N in the environment replaces maxFilesAhead (0 turns trimming ahead
// off, 64 on), so that benchmarks can time the same build both ways.
TrimAheadOptions WithEnvironment(TrimAheadOptions options) {
    const char* value = std::getenv("TRIMLET_TRIM_AHEAD");
    if (value == nullptr || *value == '\0') return options;
    char* end = nullptr;
    const unsigned long files = std::strtoul(value, &end, 10);
    if (*end == '\0') options.maxFilesAhead = files;
    return options;
}

unsigned WorkerCountFor(const TrimAheadOptions& options, std::size_t fileCount) {
    if (options.maxFilesAhead == 0) return 0;
    unsigned count = options.threads;
    if (count == 0) {
        // The caller trims too (every file no worker has started), so one worker per
        // other core: more would only take turns with it and keep it waiting.
        count = std::thread::hardware_concurrency();
        count = count < 2 ? 0 : count - 1;
    }
    if (fileCount < 2) return 0;
    return static_cast<unsigned>(std::min<std::size_t>(count, fileCount));
}

}  // namespace

TrimAhead::TrimAhead(std::vector<std::string> paths, TrimMode trimMode,
                     std::string scriptExtensions, TrimAheadOptions options)
    : trimMode_(trimMode),
      scriptExtensions_(std::move(scriptExtensions)),
      options_(WithEnvironment(options)) {
    try {
        items_.resize(paths.size());
        for (std::size_t i = 0; i < paths.size(); ++i)
            items_[i].path = std::move(paths[i]);
        const unsigned count = WorkerCountFor(options_, items_.size());
        workers_.reserve(count);
        for (unsigned i = 0; i < count; ++i)
            workers_.emplace_back([this] { Work(); });
    } catch (const std::bad_alloc&) {
        // Fewer workers, or none: every file not trimmed ahead is trimmed when asked for.
    } catch (const std::system_error&) {
    }
}

TrimAhead::~TrimAhead() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    workReady_.notify_all();
    for (std::thread& worker : workers_)
        worker.join();
}

TrimAhead::Outcome TrimAhead::TrimNow(const std::string& path, TrimMode trimMode,
                                      std::size_t textTestBytes) const {
    Outcome outcome;
    const FileReadStamp::Time start = Now();
    LookAtFile(path, trimMode, scriptExtensions_, textTestBytes, options_.keepBytes, outcome.look);
    outcome.settled = outcome.look.read && outcome.look.result == RESULT_OK &&
                      SettledBefore(outcome.look.stamp.changed, start, options_.settledSeconds);
    return outcome;
}

bool TrimAhead::StillCurrent(const std::string& path, const Outcome& outcome) const {
    // A failure is never kept: trimming again tells what is wrong now, and notes the
    // system's reason on the caller's thread.
    if (outcome.look.result != RESULT_OK || !outcome.settled) return false;
    FileReadStamp now;
    return CurrentReadStamp(path, now) && now == outcome.look.stamp;
}

std::size_t TrimAhead::Find(const std::string& path) const {
    const std::size_t end = std::min(items_.size(), cursor_ + 2 * options_.maxFilesAhead + 16);
    for (std::size_t i = cursor_; i < end; ++i) {
        if (items_[i].path == path) return i;
    }
    return items_.size();
}

void TrimAhead::Release(Item& item) {
    if (item.state == State::Done) {
        heldBytes_ -= item.charge;
        item.outcome = Outcome{};
    }
    // A file still being trimmed is released by its worker when it is done.
    item.state = State::Gone;
}

void TrimAhead::MoveCursorTo(std::size_t index) {
    for (std::size_t i = cursor_; i < index; ++i)
        Release(items_[i]);
    cursor_ = index;
    next_ = std::max(next_, index);
}

bool TrimAhead::WorthWaking() const {
    if (idleWorkers_ == 0 || !CanStart()) return false;
    // Workers stopped by the limit start again once a quarter of it is free, not for
    // every file the caller takes.
    const std::size_t batch = std::max<std::size_t>(1, options_.maxFilesAhead / 4);
    return next_ + batch <= cursor_ + options_.maxFilesAhead || next_ + batch >= items_.size() ||
           next_ == cursor_;
}

bool TrimAhead::CanStart() const {
    return next_ < items_.size() && next_ < cursor_ + options_.maxFilesAhead &&
           (next_ == cursor_ || heldBytes_ < options_.maxBytesAhead);
}

void TrimAhead::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (!stopping_ && !CanStart()) {
            ++idleWorkers_;
            workReady_.wait(lock, [this] { return stopping_ || CanStart(); });
            --idleWorkers_;
        }
        if (stopping_) return;
        const std::size_t index = next_++;
        Item& item = items_[index];
        item.state = State::Working;

        // What a file will hold is known from its size; a file that does not fit beside
        // those held waits until the caller has taken enough of them, or needs it.
        std::uint64_t charge = 0;
        if (options_.keepBytes) {
            lock.unlock();
            FileReadStamp identity;
            if (CurrentReadStamp(item.path, identity)) charge = identity.size;
            lock.lock();
            ++roomWaiters_;
            workReady_.wait(lock, [&] {
                return stopping_ || item.state == State::Gone || index == cursor_ ||
                       heldBytes_ + charge <= options_.maxBytesAhead;
            });
            --roomWaiters_;
            if (stopping_) return;
            if (item.state == State::Gone) continue;
        }
        item.charge = charge;
        heldBytes_ += charge;
        lock.unlock();
        Outcome outcome = TrimNow(item.path, trimMode_, options_.textTestBytes);
        lock.lock();
        if (item.state == State::Gone) {
            heldBytes_ -= charge;
            // Bytes freed may let a worker waiting for room go on.
            if (charge != 0 && roomWaiters_ != 0) workReady_.notify_all();
        } else {
            item.outcome = std::move(outcome);
            item.state = State::Done;
            if (callerWaiting_) fileDone_.notify_one();
        }
        ++trimmedAhead_;
    }
}

Result TrimAhead::Take(const std::string& path, TrimMode trimMode, bool forLook, Outcome& outcome) {
    if (trimMode == trimMode_) {
        std::unique_lock lock(mutex_);
        const std::size_t index = Find(path);
        if (index < items_.size()) {
            MoveCursorTo(index);
            Item& item = items_[index];
            bool ready = item.state != State::Waiting;
            if (ready) {
                if (item.state != State::Done) {
                    // Its worker may be waiting for room, which it now has as the file in use.
                    if (roomWaiters_ != 0) workReady_.notify_all();
                    callerWaiting_ = true;
                    fileDone_.wait(lock, [&] { return item.state == State::Done; });
                    callerWaiting_ = false;
                }
                outcome = std::move(item.outcome);
            }
            Release(item);
            MoveCursorTo(index + 1);
            const bool wake = WorthWaking() || roomWaiters_ != 0;
            lock.unlock();
            if (wake) workReady_.notify_all();
            // A file not trimmed for its first bytes serves only who asked for the test.
            const bool answers = forLook || !outcome.look.nonText;
            if (ready && answers && StillCurrent(path, outcome)) {
                ++usedCount_;
                return outcome.look.result;
            }
        }
    }
    outcome = TrimNow(path, trimMode, forLook ? options_.textTestBytes : 0);
    return outcome.look.result;
}

std::size_t TrimAhead::TrimmedAheadCount() {
    std::lock_guard lock(mutex_);
    return trimmedAhead_;
}

Result TrimAhead::Trim(const std::string& path, TrimMode trimMode, std::string& outBytes,
                       std::uint64_t& inputSize, std::uint64_t& outputSize) {
    inputSize = 0;
    outputSize = 0;
    haveLast_ = false;
    Outcome outcome;
    const Result result = Take(path, trimMode, false, outcome);
    inputSize = outcome.look.inputSize;
    if (result != RESULT_OK) return result;
    outputSize = outcome.look.outputSize;
    outBytes.swap(outcome.look.bytes);
    try {
        lastPath_ = path;
        last_ = std::move(outcome);
        last_.look.bytes = std::string();
        haveLast_ = trimMode == trimMode_;
    } catch (const std::bad_alloc&) {
    }
    return result;
}

Result TrimAhead::Measure(const std::string& path, TrimMode trimMode, std::uint64_t& inputSize,
                          std::uint64_t& outputSize) {
    if (haveLast_ && trimMode == trimMode_ && lastPath_ == path && StillCurrent(path, last_)) {
        inputSize = last_.look.inputSize;
        outputSize = last_.look.outputSize;
        return RESULT_OK;
    }
    std::string bytes;
    return Trim(path, trimMode, bytes, inputSize, outputSize);
}

Result TrimAhead::Look(const std::string& path, TrimMode trimMode, FileLook& look) {
    haveLast_ = false;
    Outcome outcome;
    const Result result = Take(path, trimMode, true, outcome);
    look = std::move(outcome.look);
    return result;
}

}  // namespace trimlet
