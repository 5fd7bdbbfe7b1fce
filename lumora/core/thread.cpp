// Threads whose body is a connected member function.
#include "lumora/thread.h"

#include <system_error>

namespace lumora {
namespace Threads {

Thread::Thread(void *argument) : argument(argument) {}

Thread::~Thread()
{
    if (!worker.joinable()) return;
    if (worker.get_id() == std::this_thread::get_id())
        worker.detach();
    else
        worker.join();
}

int Thread::GetStatus() const
{
    return status->load();
}

void *Thread::GetArgument() const
{
    return argument;
}

int Thread::Start()
{
    int expected = THREAD_CREATED;
    if (!threadMain.IsConnected()) {
        status->compare_exchange_strong(expected, THREAD_STOPPED);
        return -1;
    }
    // Running is set before the thread exists, so a quick body's Stop cannot be overwritten.
    if (!status->compare_exchange_strong(expected, THREAD_RUNNING)) return -1;
    // The body may delete this object, whose destructor reads `worker`: it waits until the
    // handle is stored.
    std::promise<void> stored;
    try {
        worker = std::thread(Run, this, status, stored.get_future().share());
    } catch (const std::system_error &) {
        *status = THREAD_STOPPED;
        return -1;
    }
    stored.set_value();
    return 0;
}

int Thread::Stop()
{
    *status = THREAD_STOPPED;
    return 0;
}

void Thread::Run(Thread *self, std::shared_ptr<std::atomic<int>> status, std::shared_future<void> started)
{
    started.wait();
    self->threadMain.Call(0, self);
    *status = THREAD_STOPPED; // self may be gone by now
}

} // namespace Threads
} // namespace lumora
