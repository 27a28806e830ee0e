#pragma once
// How a front end keeps its windows live while a file is read: the read runs on a worker
// thread, the user-interface thread goes on serving its windows until the read is done, and
// the worker hands what is to be shown back to that thread. Qt's side is QtUiThread; another
// toolkit implements the same two operations with its own message loop.

#include <functional>

namespace quarnel {

class UiThread {
  public:
    virtual ~UiThread() = default;

    // Called on the user-interface thread: runs `work` on a thread of its own and returns its
    // result. Meanwhile this thread goes on handling its events, the tasks posted included;
    // every task that `work` posted has run when this returns.
    virtual bool run_off_thread(const std::function<bool()>& work) = 0;

    // Called from any thread: runs `task` on the user-interface thread soon, in the order
    // posted.
    virtual void post(std::function<void()> task) = 0;
};

}  // namespace quarnel
