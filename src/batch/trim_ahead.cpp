#include "batch/trim_ahead.h"

#include <cstdlib>
#include <new>
#include <utility>

#include "text/trim_file.h"

namespace trimlet {

TrimAhead::TrimAhead(std::string scriptExtensions, std::vector<std::string> keptComments,
                     StylesheetCache* stylesheets)
    : scriptExtensions_(std::move(scriptExtensions)),
      keptComments_(std::move(keptComments)),
      stylesheets_(stylesheets),
      worker_([this] { Work(); }) {}

TrimAhead::~TrimAhead() {
    {
        const std::lock_guard lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

bool TrimAhead::Pays() {
    // TRIMLET_TRIM_AHEAD=0 turns it off, for comparing.
    if (const char* setting = std::getenv("TRIMLET_TRIM_AHEAD"); setting && setting[0] == '0')
        return false;
    return std::thread::hardware_concurrency() >= 2;
}

void TrimAhead::Offer(const std::string& path, TrimMode mode) {
    try {
        const std::lock_guard lock(mutex_);
        jobs_.push_back({path, mode, false, {}, {}});
    } catch (const std::bad_alloc&) {
        return;  // the run trims the file itself
    }
    changed_.notify_all();
}

std::optional<TrimmedAhead> TrimAhead::Take(const std::string& path, TrimMode mode) {
    std::unique_lock lock(mutex_);
    // Files offered and then not trimmed by the run (skipped, or stopped at a question) are
    // dropped once a later one is asked for; one being trimmed is waited for first.
    for (;;) {
        if (jobs_.empty()) return std::nullopt;
        if (jobs_.front().path == path) break;
        changed_.wait(lock, [this] { return jobs_.front().done; });
        jobs_.pop_front();
    }
    changed_.wait(lock, [this] { return jobs_.front().done; });
    Job job = std::move(jobs_.front());
    jobs_.pop_front();
    lock.unlock();
    // The file must be the one that was read: a write since (ours included) changes its
    // identity or its times. A failed read is tried again by the run, which gives the
    // failure its message.
    FileStamp now;
    if (job.mode != mode || job.trimmed.result != RESULT_OK || !TakeFileStamp(path, now) ||
        !(now == job.stamp)) {
        return std::nullopt;
    }
    return std::move(job.trimmed);
}

void TrimAhead::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        Job* job = nullptr;
        changed_.wait(lock, [&] {
            for (Job& j : jobs_) {
                if (!j.done) {
                    job = &j;
                    return true;
                }
            }
            return quit_;
        });
        if (job == nullptr) return;  // quit, with nothing left to do
        if (quit_) return;
        lock.unlock();

        // The job stays where it is until it is done: only the taker removes jobs, and it
        // waits for this one first.
        TrimmedAhead trimmed;
        FileStamp stamp;
        trimmed.result =
            TrimFile(job->path, job->mode, scriptExtensions_, trimmed.bytes, trimmed.inputSize,
                     trimmed.outputSize, &stamp, keptComments_, stylesheets_);

        lock.lock();
        job->trimmed = std::move(trimmed);
        job->stamp = stamp;
        job->done = true;
        changed_.notify_all();
    }
}

}  // namespace trimlet
