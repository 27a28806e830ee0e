#include "app/dialog_controller.h"

#include <utility>

#include "mtv/save_names.h"

namespace quarnel {

// Marks the dialog busy for the length of one read or batch. The progress window pumps
// the event loop during a read, so the dialog's handlers can run in the middle of one;
// they start nothing while the dialog is busy. A drop notification that arrived meanwhile
// is queued again once the dialog is free.
class DialogController::ReadScope {
  public:
    explicit ReadScope(DialogController& owner) : owner_(owner) {
        owner_.busy_ = true;
        owner_.view_.set_busy(true);
    }
    ~ReadScope() {
        owner_.busy_ = false;
        owner_.view_.set_busy(false);
        if (std::exchange(owner_.drop_deferred_, false)) owner_.view_.post_drop_notification();
    }
    ReadScope(const ReadScope&) = delete;
    ReadScope& operator=(const ReadScope&) = delete;

  private:
    DialogController& owner_;
};

DialogController::DialogController(MainDialogView& view, UserPrompts& prompts, HeaderReader reader)
    : view_(view), prompts_(prompts), reader_(std::move(reader)) {}

void DialogController::start(std::string folder) {
    lastDirectory_ = std::move(folder);
    show_values(true, true);
    view_.set_auto_boxes(true, false);
}

bool DialogController::read(const std::string& path) {
    // A failed read may already have stored the file's size, time and name. The dialog
    // goes on showing the file before it, so the header goes back to match what a later
    // Save would otherwise write under another file's name.
    const MtvHeader before = header_;
    if (reader_ && reader_(header_, path, view_.video_auto(), view_.audio_auto())) return true;
    header_ = before;
    return false;
}

void DialogController::open() {
    if (busy_) return;
    const auto path = prompts_.choose_file_to_open(lastDirectory_);
    if (!path) return;
    ReadScope scope(*this);
    if (!read(*path)) {
        prompts_.show_error(MessageId::read_failed);
        return;
    }
    show_values(view_.video_auto(), view_.audio_auto());
    lastDirectory_ = parent_folder(*path);
}

void DialogController::show_values(bool video, bool audio) {
    ShowValues(header_, view_, video, audio);
}

void DialogController::save() {
    if (busy_) return;
    const std::string name = view_.name_text();
    if (name.empty()) {
        prompts_.show_error(MessageId::name_empty);
        return;
    }
    const auto path = prompts_.choose_file_to_save(lastDirectory_, default_save_name(name));
    if (!path) return;
    ReadValues(header_, view_, true, true);
    if (!header_.WriteTo(with_default_extension(*path)))
        prompts_.show_error(MessageId::save_failed);
}

void DialogController::choose_video_system(std::uint8_t system) {
    if (busy_) return;
    quarnel::choose_video_system(header_, view_, system);
}

void DialogController::set_ac3(bool ticked) {
    if (busy_) return;
    header_.SetAudioCoding(ticked ? 0 : 2);
}

void DialogController::handle_drop_notification() {
    if (busy_) {
        drop_deferred_ = true;
        return;
    }
    // Taken before any file is read: files dropped during a long read make a new list.
    const std::vector<std::string> paths = view_.take_pending_paths();
    if (paths.empty()) return;
    ReadScope scope(*this);
    if (paths.size() == 1)
        read_single(paths.front());
    else
        convert_batch(paths);
}

void DialogController::read_single(const std::string& path) {
    if (read(path))
        show_values(view_.video_auto(), view_.audio_auto());
    else
        prompts_.show_error(MessageId::read_failed);
    lastDirectory_ = parent_folder(path);
}

void DialogController::convert_batch(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        if (!read(path)) continue;  // not an MPEG file: skipped without a word
        show_values(view_.video_auto(), view_.audio_auto());
        if (!header_.WriteTo(batch_output_path(path))) prompts_.show_error(MessageId::save_failed);
    }
}

}  // namespace quarnel
