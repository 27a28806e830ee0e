#pragma once
// How the header maps to the values of the dialog that shows and edits it. The dialog is
// reached through HeaderDialogView, so the mapping runs and is tested without a window.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "mtv/mtv_header.h"

namespace quarnel {

// The position a list without a selection reports (the byte of -1).
inline constexpr std::uint8_t no_selection = 255;

// The dialog's values that mirror the header. Positions are 0-based in the order of the
// lists in mtv/header_lists.h; selecting a position past a list's end leaves it without a
// selection.
class HeaderDialogView {
  public:
    virtual ~HeaderDialogView() = default;

    virtual void set_file_name_text(const std::string& text) = 0;
    virtual void set_size_text(const std::string& text) = 0;
    // Year, month, day, hour, minute, second.
    virtual void set_time_texts(const std::array<std::string, 6>& texts) = 0;

    // The NTSC (0) and PAL (1) buttons; any other value ticks neither.
    virtual void set_video_system_choice(std::uint8_t system) = 0;
    virtual void set_resolution_entries(const std::vector<std::string>& entries) = 0;
    virtual void select_resolution(std::uint8_t position) = 0;
    virtual std::uint8_t selected_resolution() const = 0;
    virtual void select_rate_control(std::uint8_t position) = 0;
    virtual std::uint8_t selected_rate_control() const = 0;
    virtual void select_aspect(std::uint8_t position) = 0;
    virtual std::uint8_t selected_aspect() const = 0;
    virtual void set_aspect_enabled(bool enabled) = 0;
    virtual void set_bit_rate_text(const std::string& text) = 0;
    virtual std::string bit_rate_text() const = 0;

    virtual void select_audio_bit_rate(std::uint8_t position) = 0;
    virtual std::uint8_t selected_audio_bit_rate() const = 0;
    virtual void select_sampling(std::uint8_t position) = 0;
    virtual std::uint8_t selected_sampling() const = 0;
    virtual void set_ac3_ticked(bool ticked) = 0;
    virtual bool ac3_ticked() const = 0;
};

// Fills the resolution list with the sizes of the header's video system and selects its
// resolutionIndex, which falls back to 0 when it lies beyond the list.
void refill_resolution_list(MtvHeader& header, HeaderDialogView& view);

// What clicking NTSC (0) or PAL (1) does: stores the system, refills the resolution list and
// enables the aspect list for NTSC only.
void choose_video_system(MtvHeader& header, HeaderDialogView& view, std::uint8_t system);

// Shows name, size and creation time always, the video and the audio group when asked.
// Showing the video system refills the resolution list, which may reset resolutionIndex.
void ShowValues(MtvHeader& header, HeaderDialogView& view, bool show_video, bool show_audio);

// Takes the selections, the bit-rate text and the AC-3 box of the asked groups into the
// header. The video system is not read: its buttons store it when clicked.
void ReadValues(MtvHeader& header, const HeaderDialogView& view, bool read_video, bool read_audio);

// A decimal number as strtol with a 32-bit long reads it: leading white space and one sign
// allowed, reading stops at the first non-digit, no digits give 0, and a value beyond the
// 32-bit range gives the nearest end of it.
std::int32_t read_decimal_text(std::string_view text);

}  // namespace quarnel
