#include "app/file_drop_edit.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <utility>

#include "app/prompts.h"
#include "app/qt_prompts.h"

namespace quarnel {
namespace {

std::vector<std::string> dropped_files(const QMimeData* data) {
    std::vector<std::string> paths;
    if (!data) return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) paths.push_back(to_local_path(url.toLocalFile()));
    return paths;
}

bool carries_files(const QMimeData* data) {
    if (!data) return false;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return true;
    return false;
}

}  // namespace

CFileDropEdit::CFileDropEdit(UserPrompts& prompts, QWidget* parent)
    : QLineEdit(parent), prompts_(prompts) {
    setAcceptDrops(true);
}

std::vector<std::string> CFileDropEdit::take_pending_paths() {
    return std::exchange(pendingPaths, {});
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
    if (!carries_files(event->mimeData())) {
        QLineEdit::dropEvent(event);  // dragged text is typed in as usual
        return;
    }
    // Files never become text of the box.
    event->acceptProposedAction();
    std::vector<std::string> paths = dropped_files(event->mimeData());
    if (paths.size() > 1 && !prompts_.ask(MessageId::confirm_batch)) return;
    pendingPaths.insert(pendingPaths.end(), paths.begin(), paths.end());
    QCoreApplication::postEvent(window(), new QEvent(drop_notification));
}

}  // namespace quarnel
