#pragma once
// The transaction queue between the host link thread and the core thread.
//
// Every queue object is only a handle: the pending transactions, the posted
// results and the registered callbacks live in one QueueState shared by the
// whole process, so the link's CoreQueue and the core's CoreQueue see the same
// transactions and results. Lock order: queue lock, then results lock; never
// the other way round. Waiting is by 20 ms polling.

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "common/thread_annotations.h"
#include "state/transaction.h"

using DoneCallback = std::function<void()>;
using NotificationCallback = std::function<void(const CoreApiNotification&)>;

// The shared containers and their two locks.
struct QueueState {
    // The queue lock guards the pending transactions; it may be held while
    // the results lock is taken, never the other way round.
    Mutex queueLock ACQUIRED_BEFORE(resultsLock);
    // The results lock guards the posted results and both callback maps.
    Mutex resultsLock;
    std::shared_ptr<std::deque<CoreTransaction>> transactions GUARDED_BY(queueLock) =
        std::make_shared<std::deque<CoreTransaction>>();
    std::shared_ptr<std::map<std::uint32_t, CoreApiResult>> results GUARDED_BY(resultsLock) =
        std::make_shared<std::map<std::uint32_t, CoreApiResult>>();
    std::shared_ptr<std::map<std::uint32_t, DoneCallback>> doneCallbacks
        GUARDED_BY(resultsLock) = std::make_shared<std::map<std::uint32_t, DoneCallback>>();
    std::shared_ptr<std::map<std::uint32_t, NotificationCallback>> notificationCallbacks
        GUARDED_BY(resultsLock) =
            std::make_shared<std::map<std::uint32_t, NotificationCallback>>();

    // The process's instance, created before main runs and never destroyed.
    static QueueState& process();
};

class IProcessingQueue {
  public:
    virtual ~IProcessingQueue() = default;
    // Posts the transaction and waits (20 ms polls, no time limit) for the
    // result with its identifier; false when none was stored.
    virtual bool exec(const CoreTransaction& t, CoreApiResult& result) = 0;
    virtual bool exec(const CoreTransaction& t, CoreApiResult& result,
                      NotificationCallback onNotification) = 0;
    virtual bool post(const CoreTransaction& t, DoneCallback onDone,
                      NotificationCallback onNotification) = 0;
    // Front transaction into `out`; false (and `out` untouched) when empty.
    virtual bool pop(CoreTransaction& out) = 0;
    virtual CoreTransaction pop(bool* ok) = 0;
    // Stores the result (replacing one with the same identifier) and calls
    // the done callback; a result with identifier 0 is dropped.
    virtual bool postResult(const CoreApiResult& result) = 0;
    virtual bool hasResult(std::uint32_t id) = 0;
    // Removes and returns the result and the callbacks of the identifier;
    // code 255 and *found false when there is no result.
    virtual CoreApiResult takeResult(std::uint32_t id, bool* found) = 0;
    virtual std::size_t pendingCount() = 0;
    // Calls the notification callback of the identifier, under the results lock.
    virtual bool notify(const CoreApiNotification& n) = 0;
};

template <int N>
class ProcessingQueue;

template <>
class ProcessingQueue<1> : public IProcessingQueue {
  public:
    explicit ProcessingQueue(QueueState& state = QueueState::process());
    ~ProcessingQueue() override;

    bool exec(const CoreTransaction& t, CoreApiResult& result) override;
    bool exec(const CoreTransaction& t, CoreApiResult& result,
              NotificationCallback onNotification) override;
    bool post(const CoreTransaction& t, DoneCallback onDone,
              NotificationCallback onNotification) override;
    bool pop(CoreTransaction& out) override;
    CoreTransaction pop(bool* ok) override;
    bool postResult(const CoreApiResult& result) override;
    bool hasResult(std::uint32_t id) override;
    CoreApiResult takeResult(std::uint32_t id, bool* found) override;
    std::size_t pendingCount() override;
    bool notify(const CoreApiNotification& n) override;

  private:
    // The instance's way to the shared containers.
    struct Handle {
        QueueState* state;
    };
    std::unique_ptr<Handle> handle_;
    std::set<std::uint32_t> ownIds_;
};

class CoreQueue : public ProcessingQueue<1> {
  public:
    using ProcessingQueue<1>::ProcessingQueue;
    ~CoreQueue() override = default;
};
