#pragma once
// The name box: an edit box that also takes files dropped from a file manager. It only
// collects their paths and posts a notification to its dialog, so the drop is finished
// and the file manager free again before any file is read.

#include <QEvent>
#include <QLineEdit>
#include <string>
#include <vector>

#include "app/drop_queue.h"

namespace quarnel {

// The notification the name box posts to its window after a drop.
inline constexpr QEvent::Type drop_notification = static_cast<QEvent::Type>(QEvent::User + 1);

class CFileDropEdit : public QLineEdit {
    Q_OBJECT

  public:
    CFileDropEdit(UserPrompts& prompts, QWidget* parent = nullptr);

    // Takes `paths` as a drop of those files: several only after the batch question; then
    // queues them and notifies the dialog.
    void receive_files(const std::vector<std::string>& paths);

    // The dropped paths not yet handled, in the order they were dropped; emptied.
    std::vector<std::string> take_pending_paths();

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    DropQueue queue_;
};

}  // namespace quarnel
