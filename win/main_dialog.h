#pragma once
// The main dialog from the resource template of the chosen language. It only binds the
// controls to the DialogController and shows what it asks; the dialog's logic lives there.

#include <windows.h>

#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/dialog_controller.h"
#include "app/language.h"
#include "win/file_drop_edit.h"
#include "win/win_prompts.h"

namespace quarnel {

class Win32MainDialog : private MainDialogView {
  public:
    Win32MainDialog(Language language, Win32Prompts& prompts, HeaderReader reader);

    // Runs the dialog modally until Cancel, Esc or the close box. `files` (named on the
    // command line) are taken as a drop on the name box once the dialog shows.
    void run(std::vector<std::string> files = {});

    HWND window() const { return window_; }
    const DialogController& controller() const { return controller_; }

  private:
    static INT_PTR CALLBACK dialog_procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    void start(HWND window);
    void command(int id);
    HWND item(ControlId id) const { return GetDlgItem(window_, static_cast<int>(id)); }
    void tick(ControlId id, bool ticked);
    bool ticked(ControlId id) const;

    // The values that mirror the header (HeaderDialogView).
    void set_file_name_text(const std::string& text) override;
    void set_size_text(const std::string& text) override;
    void set_time_texts(const std::array<std::string, 6>& texts) override;
    void set_video_system_choice(std::uint8_t system) override;
    void set_resolution_entries(const std::vector<std::string>& entries) override;
    void select_resolution(std::uint8_t position) override;
    std::uint8_t selected_resolution() const override;
    void select_rate_control(std::uint8_t position) override;
    std::uint8_t selected_rate_control() const override;
    void select_aspect(std::uint8_t position) override;
    std::uint8_t selected_aspect() const override;
    void set_aspect_enabled(bool enabled) override;
    void set_bit_rate_text(const std::string& text) override;
    std::string bit_rate_text() const override;
    void select_audio_bit_rate(std::uint8_t position) override;
    std::uint8_t selected_audio_bit_rate() const override;
    void select_sampling(std::uint8_t position) override;
    std::uint8_t selected_sampling() const override;
    void set_ac3_ticked(bool ticked) override;
    bool ac3_ticked() const override;

    // The rest of the dialog (MainDialogView).
    std::string name_text() const override;
    bool video_auto() const override;
    bool audio_auto() const override;
    void set_auto_boxes(bool video, bool audio) override;
    void set_busy(bool busy) override;
    std::vector<std::string> take_pending_paths() override;
    void post_drop_notification() override;

    Language language_;
    Win32Prompts& prompts_;
    HWND window_ = nullptr;
    CFileDropEdit name_;
    std::vector<std::string> given_files_;
    HWND focus_before_busy_ = nullptr;
    DialogController controller_;
};

}  // namespace quarnel
