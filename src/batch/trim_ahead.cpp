#include "batch/trim_ahead.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <utility>

#include "platform/memory_limits.h"
#include "text/trim_file.h"

namespace trimlet {

TrimAhead::TrimAhead(std::string scriptExtensions, std::vector<std::string> keptComments,
                     StylesheetCache* stylesheets, std::chrono::nanoseconds settleTime)
    : scriptExtensions_(std::move(scriptExtensions)),
      keptComments_(std::move(keptComments)),
      stylesheets_(stylesheets),
      settleTime_(settleTime),
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
    // Under a limit on the address space, the worker's own reservations (its stack, its
    // allocator's arena) could make the run's trims fail where they fit without it.
    return std::thread::hardware_concurrency() >= 2 && !AddressSpaceIsLimited();
}

void TrimAhead::Offer(const std::string& path, TrimMode mode) {
    try {
        auto job = std::make_shared<Job>();
        job->path = path;
        job->mode = mode;
        const std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    } catch (const std::bad_alloc&) {
        return;  // the run trims the file itself
    }
    changed_.notify_all();
}

void TrimAhead::OfferOnTake(std::string path, TrimMode mode) {
    const std::lock_guard lock(mutex_);
    onTakePath_ = std::move(path);
    onTakeMode_ = mode;
}

void TrimAhead::Withdraw(const std::string& path) {
    std::vector<std::shared_ptr<Job>> dropped;  // freed once the lock is let go
    const std::lock_guard lock(mutex_);
    for (auto it = jobs_.begin(); it != jobs_.end();) {
        if ((*it)->path != path) {
            ++it;
            continue;
        }
        (*it)->withdrawn = true;
        try {
            dropped.push_back(std::move(*it));
        } catch (const std::bad_alloc&) {
        }
        it = jobs_.erase(it);
    }
}

std::optional<TrimmedAhead> TrimAhead::Take(const std::string& path, TrimMode mode) {
    std::shared_ptr<Job> job;
    std::string next;
    {
        std::unique_lock lock(mutex_);
        // Files offered before this one were not trimmed by the run: they are given up.
        // Those offered after it stay, also when it was not offered itself.
        if (const auto it = std::find_if(jobs_.begin(), jobs_.end(),
                                         [&](const auto& j) { return j->path == path; });
            it != jobs_.end()) {
            for (auto before = jobs_.begin(); before != it; ++before)
                (*before)->withdrawn = true;
            job = std::move(*it);
            jobs_.erase(jobs_.begin(), it + 1);
        }
        next = std::move(onTakePath_);
        onTakePath_.clear();
    }
    if (!next.empty()) Offer(next, onTakeMode_);
    if (!job) return std::nullopt;
    {
        std::unique_lock lock(mutex_);
        // Not begun (the worker is still on a withdrawn file): the run is as quick.
        if (!job->started) return std::nullopt;
        changed_.wait(lock, [&] { return job->done; });
    }
    // A failed read is tried again by the run, which gives the failure its message.
    if (job->mode != mode || job->trimmed.result != RESULT_OK || !StillAsRead(*job))
        return std::nullopt;
    return std::move(job->trimmed);
}

std::size_t TrimAhead::StartedCount() const {
    const std::lock_guard lock(mutex_);
    return started_;
}

bool TrimAhead::StillAsRead(const Job& job) const {
    // A write since (the run's own included: a replaced file is another file, one copied
    // into gets a later status-change time) changes a stamp, once the file had been left
    // alone for a while before it was read.
    const auto unchanged = [&](const std::string& path, const FileStamp& stamp,
                               FileStamp::Time readAt) {
        FileStamp now;
        return ChangedBefore(stamp, readAt, settleTime_) && TakeFileStamp(path, now) &&
               now == stamp;
    };
    if (!unchanged(job.path, job.stamp, job.readAt)) return false;
    for (const ConsultedSheet& sheet : job.sheets) {
        // A sheet that was missing must still be missing.
        FileStamp now;
        const bool ok = sheet.found ? unchanged(sheet.path, sheet.stamp, sheet.readAt)
                                    : !TakeFileStamp(sheet.path, now);
        if (!ok) return false;
    }
    return true;
}

void TrimAhead::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        std::shared_ptr<Job> job;
        changed_.wait(lock, [&] {
            if (quit_) return true;
            for (const std::shared_ptr<Job>& j : jobs_) {
                if (!j->started) {
                    job = j;
                    return true;
                }
            }
            return false;
        });
        if (quit_) return;
        job->started = true;
        ++started_;
        const std::string path = job->path;
        const TrimMode mode = job->mode;
        lock.unlock();

        TrimmedAhead trimmed;
        FileStamp stamp;
        FileStamp::Time readAt;
        std::vector<ConsultedSheet> sheets;
        try {
            readAt = FileClockNow();
            if (TakeFileStamp(path, stamp) &&
                (stamp.size > kMaxFileSize || !ChangedBefore(stamp, readAt, settleTime_))) {
                // Too large to hold, or its result could not be trusted: the run trims it.
                trimmed.result = RESULT_TOO_LARGE;
            } else {
                StylesheetCache noting(stylesheets_, sheets);
                trimmed.result =
                    TrimFile(path, mode, scriptExtensions_, trimmed.bytes, trimmed.inputSize,
                             trimmed.outputSize, &stamp, keptComments_, &noting);
            }
        } catch (const std::bad_alloc&) {
            trimmed.result = RESULT_OUT_OF_MEMORY;
        }

        lock.lock();
        if (!job->withdrawn) {
            job->trimmed = std::move(trimmed);
            job->stamp = stamp;
            job->readAt = readAt;
            job->sheets = std::move(sheets);
        }
        job->done = true;
        changed_.notify_all();
        if (job->withdrawn) {
            // Its result (and the job, when nothing else holds it) goes without the lock.
            lock.unlock();
            trimmed = {};
            job.reset();
            lock.lock();
        }
    }
}

}  // namespace trimlet
