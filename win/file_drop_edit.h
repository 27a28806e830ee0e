#pragma once
// The name box: the edit control 1004, subclassed so that it takes files dropped from the
// file manager. It only queues their paths and posts the drop notification to its dialog.

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "app/drop_queue.h"

namespace quarnel {

// The notification the name box posts to its dialog after a drop, both parameters 0.
inline constexpr UINT drop_notification = WM_USER + 1;

class CFileDropEdit {
  public:
    explicit CFileDropEdit(UserPrompts& prompts);

    // Takes over the edit control `edit` of the dialog.
    void attach(HWND edit);

    // Takes `paths` as a drop of those files (the command line's files come this way).
    void receive_files(const std::vector<std::string>& paths) { queue_.receive_files(paths); }
    std::vector<std::string> take_pending_paths() { return queue_.take_pending_paths(); }

  private:
    static LRESULT CALLBACK subclass_procedure(HWND edit, UINT message, WPARAM w, LPARAM l,
                                               UINT_PTR id, DWORD_PTR self);
    void receive_drop(HDROP drop);

    HWND edit_ = nullptr;
    DropQueue queue_;
};

}  // namespace quarnel
