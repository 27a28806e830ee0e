#include "app/qt_ui_thread.h"

#include <QEventLoop>
#include <thread>

namespace quarnel {

bool QtUiThread::run_off_thread(const std::function<bool()>& work) {
    QEventLoop loop;
    bool result = false;
    std::thread worker([&] {
        result = work();
        // Queued behind every task the work posted, so they have all run when the loop ends.
        post([&loop] { loop.quit(); });
    });
    loop.exec();
    worker.join();
    return result;
}

void QtUiThread::post(std::function<void()> task) {
    QMetaObject::invokeMethod(&receiver_, std::move(task), Qt::QueuedConnection);
}

}  // namespace quarnel
