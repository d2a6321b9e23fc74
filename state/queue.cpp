#include "state/queue.h"

#include <atomic>

#include "platform/board.h"

QueueState& QueueState::process() {
    static QueueState* state = new QueueState();  // lives until exit
    return *state;
}

ProcessingQueue<1>::ProcessingQueue(QueueState& state)
    : handle_(std::make_unique<Handle>(Handle{&state})) {}

ProcessingQueue<1>::~ProcessingQueue() {
    QueueState& s = *handle_->state;
    MutexLock lock(s.resultsLock);
    for (std::uint32_t id : ownIds_) {
        s.doneCallbacks->erase(id);
        s.notificationCallbacks->erase(id);
    }
}

bool ProcessingQueue<1>::exec(const CoreTransaction& t, CoreApiResult& result) {
    return exec(t, result, nullptr);
}

bool ProcessingQueue<1>::exec(const CoreTransaction& t, CoreApiResult& result,
                              NotificationCallback onNotification) {
    auto done = std::make_shared<std::atomic<bool>>(false);
    if (!post(
            t, [done] { done->store(true); }, std::move(onNotification)))
        return false;
    while (!done->load()) platform::sleepMs(20);
    if (!hasResult(t.id)) return false;
    result = takeResult(t.id, nullptr);
    return true;
}

bool ProcessingQueue<1>::post(const CoreTransaction& t, DoneCallback onDone,
                              NotificationCallback onNotification) {
    if (onDone || onNotification) ownIds_.insert(t.id);
    QueueState& s = *handle_->state;
    MutexLock queueLock(s.queueLock);
    s.transactions->push_back(t);
    MutexLock resultsLock(s.resultsLock);
    if (onDone) s.doneCallbacks->emplace(t.id, std::move(onDone));
    if (onNotification) s.notificationCallbacks->emplace(t.id, std::move(onNotification));
    return true;
}

bool ProcessingQueue<1>::pop(CoreTransaction& out) {
    QueueState& s = *handle_->state;
    MutexLock lock(s.queueLock);
    if (s.transactions->empty()) return false;
    out = s.transactions->front();
    s.transactions->pop_front();
    return true;
}

CoreTransaction ProcessingQueue<1>::pop(bool* ok) {
    CoreTransaction t;
    bool popped = pop(t);
    if (ok) *ok = popped;
    return t;
}

bool ProcessingQueue<1>::postResult(const CoreApiResult& result) {
    if (result.id == 0) return false;
    QueueState& s = *handle_->state;
    DoneCallback done;
    {
        MutexLock lock(s.resultsLock);
        (*s.results)[result.id] = result;
        auto it = s.doneCallbacks->find(result.id);
        if (it != s.doneCallbacks->end()) done = it->second;
    }
    if (done) done();
    return true;
}

bool ProcessingQueue<1>::hasResult(std::uint32_t id) {
    QueueState& s = *handle_->state;
    MutexLock lock(s.resultsLock);
    return s.results->count(id) != 0;
}

CoreApiResult ProcessingQueue<1>::takeResult(std::uint32_t id, bool* found) {
    ownIds_.erase(id);
    QueueState& s = *handle_->state;
    CoreApiResult out;
    bool have = false;
    {
        MutexLock lock(s.resultsLock);
        auto it = s.results->find(id);
        if (id != 0 && it != s.results->end()) {
            out = it->second;
            have = true;
        }
        s.results->erase(id);
        s.doneCallbacks->erase(id);
        s.notificationCallbacks->erase(id);
    }
    if (found) *found = have;
    return out;
}

std::size_t ProcessingQueue<1>::pendingCount() {
    QueueState& s = *handle_->state;
    MutexLock lock(s.queueLock);
    return s.transactions->size();
}

bool ProcessingQueue<1>::notify(const CoreApiNotification& n) {
    if (n.id == 0) return false;
    QueueState& s = *handle_->state;
    MutexLock lock(s.resultsLock);
    auto it = s.notificationCallbacks->find(n.id);
    if (it == s.notificationCallbacks->end()) return false;
    it->second(n);
    return true;
}

namespace {
// Made before main so that both threads find the containers ready.
[[maybe_unused]] QueueState& eagerQueueState = QueueState::process();
}  // namespace
