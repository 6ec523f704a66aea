#pragma once
// Long work over many files (a run, a folder add, a refresh of every row) reports after
// each file, so that a window can repaint, show "n / N" and let the user stop between two
// files. Work started inside other work (the folders of a drop) reports as part of it.

#include <cstddef>

namespace trimlet {

class WorkProgress {
  public:
    virtual ~WorkProgress() = default;
    virtual void WorkBegins(std::size_t total) = 0;
    // After a file: `done` of `total` are through. True asks the work to stop before the
    // next file.
    virtual bool FileDone(std::size_t done, std::size_t total) = 0;
    virtual void WorkEnds() = 0;
};

// What the editor knows about the work under way.
struct WorkState {
    WorkProgress* progress = nullptr;
    int depth = 0;
    std::size_t done = 0;
    std::size_t total = 0;
    bool stopped = false;  // the user stopped the outermost work
};

// One piece of work for as long as it lives. Only the outermost piece counts files and
// tells WorkBegins and WorkEnds; an inner piece only passes the stop question on.
class WorkScope {
  public:
    WorkScope(WorkState& state, std::size_t total);
    ~WorkScope();
    WorkScope(const WorkScope&) = delete;
    WorkScope& operator=(const WorkScope&) = delete;

    // One file is through; true when the user asked to stop (then and from now on).
    bool FileDone();

  private:
    WorkState& state_;
    bool outermost_;
};

}  // namespace trimlet
