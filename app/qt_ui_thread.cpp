#include "app/qt_ui_thread.h"

#include <QEventLoop>
#include <system_error>
#include <thread>

namespace quarnel {

bool QtUiThread::run_off_thread(const std::function<bool()>& work) {
    QEventLoop loop;
    bool result = false;
    std::thread worker;
    try {
        worker = std::thread([&] {
            result = work();
            // Queued behind every task the work posted, so they have all run when the loop
            // ends.
            post([&loop] { loop.quit(); });
        });
    } catch (const std::system_error&) {
        return false;  // no thread to be had: the read fails like any other
    }
    loop.exec();
    worker.join();
    return result;
}

void QtUiThread::post(std::function<void()> task) {
    QMetaObject::invokeMethod(&receiver_, std::move(task), Qt::QueuedConnection);
}

}  // namespace quarnel
