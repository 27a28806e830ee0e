#include "app/file_drop_edit.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "app/qt_prompts.h"

namespace quarnel {
namespace {

// The local files a drag carries, in the order the file manager lists them.
std::vector<std::string> dropped_files(const QMimeData* data) {
    std::vector<std::string> paths;
    if (!data) return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) paths.push_back(to_local_path(url.toLocalFile()));
    return paths;
}

bool carries_files(const QMimeData* data) {
    return !dropped_files(data).empty();
}

}  // namespace

CFileDropEdit::CFileDropEdit(UserPrompts& prompts, QWidget* parent)
    : QLineEdit(parent), queue_(prompts, [this] {
          QCoreApplication::postEvent(window(), new QEvent(drop_notification));
      }) {
    setAcceptDrops(true);
}

std::vector<std::string> CFileDropEdit::take_pending_paths() {
    return queue_.take_pending_paths();
}

void CFileDropEdit::dragEnterEvent(QDragEnterEvent* event) {
    if (carries_files(event->mimeData()))
        event->acceptProposedAction();
    else
        QLineEdit::dragEnterEvent(event);
}

void CFileDropEdit::dragMoveEvent(QDragMoveEvent* event) {
    if (carries_files(event->mimeData()))
        event->acceptProposedAction();
    else
        QLineEdit::dragMoveEvent(event);
}

void CFileDropEdit::dropEvent(QDropEvent* event) {
    const std::vector<std::string> paths = dropped_files(event->mimeData());
    if (paths.empty()) {
        QLineEdit::dropEvent(event);  // dragged text is typed in as usual
        return;
    }
    // Files never become text of the box.
    event->acceptProposedAction();
    receive_files(paths);
}

void CFileDropEdit::receive_files(const std::vector<std::string>& paths) {
    queue_.receive_files(paths);
}

}  // namespace quarnel
