#pragma once
// The files dropped on the name box (or named on the command line) that the dialog has not
// handled yet. A drop of several files is taken only after the batch question; each drop
// taken notifies the dialog, which empties the queue from its event loop, so the drop is
// finished and the file manager free again before any file is read.

#include <functional>
#include <string>
#include <vector>

#include "app/prompts.h"

namespace quarnel {

class DropQueue {
  public:
    // `notify` posts the drop notification to the dialog.
    DropQueue(UserPrompts& prompts, std::function<void()> notify);

    // Takes `paths` as one drop: several only after the batch question; then queues them
    // behind the paths already waiting and notifies the dialog.
    void receive_files(const std::vector<std::string>& paths);

    // The dropped paths not yet handled, in the order they were dropped; emptied.
    std::vector<std::string> take_pending_paths();

  private:
    UserPrompts& prompts_;
    std::function<void()> notify_;
    std::vector<std::string> pendingPaths;
};

}  // namespace quarnel
