#pragma once
// The user-interface thread as Qt runs it: a read waits in a nested event loop, and the
// worker's tasks arrive as queued calls.

#include <QObject>

#include "app/ui_thread.h"

namespace quarnel {

class QtUiThread : public UiThread {
  public:
    // Made on the user-interface thread; tasks posted after its end are dropped.
    QtUiThread() = default;

    bool run_off_thread(const std::function<bool()>& work) override;
    void post(std::function<void()> task) override;

  private:
    QObject receiver_;  // lives on the user-interface thread, so the posted tasks run there
};

}  // namespace quarnel
