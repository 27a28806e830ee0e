#pragma once
// What the main dialog does, without widgets: it owns the header, reads files into it,
// saves it, converts dropped batches and keeps a second operation from starting while a
// read is in progress. The widgets only forward their events here (MainDialog).

#include <string>
#include <vector>

#include "app/header_reader.h"
#include "app/prompts.h"
#include "mtv/header_dialog_view.h"
#include "mtv/mtv_header.h"

namespace quarnel {

// The dialog's controls as the controller drives them: the values that mirror the header,
// and the rest.
class MainDialogView : public HeaderDialogView {
  public:
    virtual std::string name_text() const = 0;
    virtual bool video_auto() const = 0;
    virtual bool audio_auto() const = 0;
    virtual void set_auto_boxes(bool video_auto, bool audio_auto) = 0;

    // While busy the dialog takes no input; it still repaints.
    virtual void set_busy(bool busy) = 0;

    // The paths dropped on the name box and not yet handled; emptied.
    virtual std::vector<std::string> take_pending_paths() = 0;
    // Queues another drop notification behind the events now waiting.
    virtual void post_drop_notification() = 0;
};

class DialogController {
  public:
    DialogController(MainDialogView& view, UserPrompts& prompts, HeaderReader reader);

    // Shows the header's values, ticks video auto-detection, and remembers `folder` (the
    // process's current directory) as the folder the file dialogs open in.
    void start(std::string folder);

    void open();
    void save();
    void choose_video_system(std::uint8_t system);  // NTSC (0) or PAL (1) clicked
    void set_ac3(bool ticked);
    void handle_drop_notification();

    // False while a read is in progress: the dialog must not close under it.
    bool may_close() const { return !busy_; }

    const MtvHeader& header() const { return header_; }
    const std::string& lastDirectory() const { return lastDirectory_; }

  private:
    class ReadScope;

    bool read(const std::string& path);
    void show_values(bool video, bool audio);
    void read_single(const std::string& path);
    void convert_batch(const std::vector<std::string>& paths);

    MainDialogView& view_;
    UserPrompts& prompts_;
    HeaderReader reader_;
    MtvHeader header_;
    std::string lastDirectory_;
    bool busy_ = false;
    bool drop_deferred_ = false;
};

}  // namespace quarnel
