// The queue of waiting input and the count of work in progress.
#include "app/input_queue.h"

#include <deque>
#include <utility>

#include "common/app_state.h"
#include "platform/ui_port.h"

namespace {

struct WorkState {
    std::deque<QueuedInput> queue;
    int depth = 0;
    bool closeAsked = false;
};

WorkState work;

}  // namespace

bool queueInput(QueuedInput input) {
    if (work.queue.size() >= maxQueuedInputs) return false;
    work.queue.push_back(std::move(input));
    return true;
}

bool takeQueuedInput(QueuedInput& out) {
    if (work.queue.empty()) return false;
    out = std::move(work.queue.front());
    work.queue.pop_front();
    return true;
}

std::size_t queuedInputCount() { return work.queue.size(); }

void clearQueuedInput() {
    work.queue.clear();
    work.closeAsked = false;
}

bool workInProgress() { return work.depth > 0; }

bool queuedWorkWaiting() { return work.depth == 0 && (!work.queue.empty() || work.closeAsked); }

WorkScope::WorkScope() { ++work.depth; }

WorkScope::~WorkScope() {
    if (--work.depth > 0) return;
    if (!work.queue.empty() || work.closeAsked) ui().queuedInputWaiting(runState.mainWindow);
}

void requestCloseWhenIdle() { work.closeAsked = true; }

bool takeCloseRequest() {
    const bool asked = work.closeAsked;
    work.closeAsked = false;
    return asked;
}
