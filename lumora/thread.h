// A thread whose body is a connected member function.
#ifndef LUMORA_THREAD_H
#define LUMORA_THREAD_H

#include "lumora/api.h"
#include "lumora/signal.h"

#include <atomic>
#include <future>
#include <memory>
#include <thread>

namespace lumora {
namespace Threads {

enum ThreadStatus { THREAD_CREATED = 0, THREAD_RUNNING = 1, THREAD_STOPPED = 2 };

class LUMORA_API Thread {
public:
    explicit Thread(void *argument = nullptr);
    // Waits for the body to return, so a body that stopped itself may still be unwinding.
    // A body that deletes its own thread object does not wait for itself.
    ~Thread();
    Thread(const Thread &) = delete;
    Thread &operator=(const Thread &) = delete;

    // The body: gets this thread, returns its result.
    Callback<long, Thread *> threadMain;

    // attributes
    int GetStatus() const; // 0 created, 1 running, 2 stopped or returned
    void *GetArgument() const;

    // operations
    // Starts the body on a new thread: 0 on success. A thread that cannot start, or that
    // has no body, is stopped at once (status 2), so a waiter never waits for it forever.
    // A thread starts once; a second Start fails and changes nothing.
    int Start();
    // Marks the thread stopped (status 2). Called by the body on its own thread, it is the
    // body's way of saying it is done; the body returns on its own afterwards.
    int Stop();

private:
    static void Run(Thread *self, std::shared_ptr<std::atomic<int>> status, std::shared_future<void> started);

    void *argument;
    std::thread worker;
    // Shared with the running body, which may outlive this object when the body deletes it.
    std::shared_ptr<std::atomic<int>> status = std::make_shared<std::atomic<int>>(THREAD_CREATED);
};

} // namespace Threads
} // namespace lumora

#endif
