#include "editor/work_progress.h"

namespace trimlet {

WorkScope::WorkScope(WorkState& state, std::size_t total)
    : state_(state), outermost_(state.depth == 0) {
    ++state_.depth;
    if (!outermost_) return;
    state_.done = 0;
    state_.total = total;
    state_.stopped = false;
    if (state_.progress) state_.progress->WorkBegins(total);
}

WorkScope::~WorkScope() {
    --state_.depth;
    if (outermost_ && state_.progress) state_.progress->WorkEnds();
}

bool WorkScope::FileDone() {
    if (outermost_ && state_.done < state_.total) ++state_.done;
    if (!state_.stopped && state_.progress &&
        state_.progress->FileDone(state_.done, state_.total)) {
        state_.stopped = true;
    }
    return state_.stopped;
}

}  // namespace trimlet
