#include "platform/write_batch.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <new>
#include <set>

#include "platform/system_error.h"

namespace trimlet {

namespace {

void FlushFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

Result WriteBatch::Add(const std::string& path, std::string_view bytes,
                       const WriteOptions& options) {
    if (path.empty()) return RESULT_INVALID_ARGUMENT;
    try {
        Staged waiting{path, PreparedWrite()};
        Result r = waiting.write.Prepare(path, options);
        if (r == RESULT_OK) r = waiting.write.Write(bytes);
        if (r != RESULT_OK) return r;
        writes_.push_back(std::move(waiting));
        bytes_ += bytes.size();
        ++added_;
        return RESULT_OK;
    } catch (const std::bad_alloc&) {
        return RESULT_OUT_OF_MEMORY;
    }
}

bool WriteBatch::Replaces(const std::string& path) const {
    for (const Staged& waiting : writes_) {
        if (waiting.path == path || waiting.write.target() == path) return true;
    }
    return false;
}

bool WriteBatch::Commit(const std::function<bool(std::size_t, Result)>& onResult) {
    if (writes_.empty()) return true;
    // One flush of each file system holding them; should it report a failure, each file is
    // flushed on its own to learn which ones failed.
    bool allFlushed = true;
    std::set<dev_t> flushed;
    for (Staged& waiting : writes_) {
        struct stat st {};
        if (::fstat(waiting.write.fd(), &st) != 0) {
            allFlushed = false;
        } else if (flushed.insert(st.st_dev).second && ::syncfs(waiting.write.fd()) != 0) {
            allFlushed = false;
        }
    }
    std::set<std::string> folders;
    bool goOn = true;
    for (std::size_t i = 0; i < writes_.size() && goOn; ++i) {
        PreparedWrite& write = writes_[i].write;
        Result r = allFlushed ? RESULT_OK : write.Flush();
        if (r == RESULT_OK) r = write.Complete();
        if (r == RESULT_OK && !write.CopiesIntoExisting()) folders.insert(write.Folder());
        goOn = onResult(i, r);
    }
    for (const std::string& folder : folders)
        FlushFolder(folder);
    Abandon();
    return goOn;
}

void WriteBatch::Abandon() noexcept {
    for (Staged& waiting : writes_)
        waiting.write.Abandon();
    writes_.clear();
    bytes_ = 0;
}

}  // namespace trimlet
