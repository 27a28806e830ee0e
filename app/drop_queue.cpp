#include "app/drop_queue.h"

#include <utility>

namespace quarnel {

DropQueue::DropQueue(UserPrompts& prompts, std::function<void()> notify)
    : prompts_(prompts), notify_(std::move(notify)) {}

void DropQueue::receive_files(const std::vector<std::string>& paths) {
    if (paths.empty()) return;
    if (paths.size() > 1 && !prompts_.ask(MessageId::confirm_batch)) return;
    pendingPaths.insert(pendingPaths.end(), paths.begin(), paths.end());
    notify_();
}

std::vector<std::string> DropQueue::take_pending_paths() {
    return std::exchange(pendingPaths, {});
}

}  // namespace quarnel
