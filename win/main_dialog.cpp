#include "win/main_dialog.h"

#include <utility>

#include "mtv/header_lists.h"
#include "win/resource_ids.h"
#include "win/wide_text.h"

namespace quarnel {
namespace {

// Posted at start when files were named on the command line.
constexpr UINT given_files_notification = WM_APP + 1;

std::wstring window_text(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)), L'\0');
    GetWindowTextW(window, text.data(), static_cast<int>(text.size() + 1));
    return text;
}

template <typename List>
void fill(HWND list, const List& entries) {
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (std::string_view entry : entries)
        SendMessageW(list, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(wide_from_utf8(entry).c_str()));
}

// A position past the end of the list leaves it without a selection, which reads back as
// no_selection.
void select(HWND list, std::uint8_t position) {
    const auto count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    SendMessageW(list, CB_SETCURSEL, position < count ? position : static_cast<WPARAM>(-1), 0);
}

std::uint8_t selected(HWND list) {
    const auto index = SendMessageW(list, CB_GETCURSEL, 0, 0);
    return index < 0 ? no_selection : static_cast<std::uint8_t>(index);
}

void set_icons(HWND window) {
    const HINSTANCE program = GetModuleHandleW(nullptr);
    for (const auto& [size, kind] : {std::pair{SM_CXICON, ICON_BIG}, {SM_CXSMICON, ICON_SMALL}}) {
        const int side = GetSystemMetrics(size);
        const HANDLE icon =
            LoadImageW(program, MAKEINTRESOURCEW(QUARNEL_ICON), IMAGE_ICON, side, side, LR_SHARED);
        SendMessageW(window, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon));
    }
}

std::string current_directory() {
    std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
    folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
    return utf8_from_wide(folder);
}

}  // namespace

Win32MainDialog::Win32MainDialog(Language language, Win32Prompts& prompts, HeaderReader reader)
    : language_(language),
      prompts_(prompts),
      name_(prompts),
      controller_(*this, prompts, std::move(reader)) {}

void Win32MainDialog::run(std::vector<std::string> files) {
    given_files_ = std::move(files);
    const int template_id = language_ == Language::japanese ? QUARNEL_MAIN_DIALOG_JAPANESE
                                                            : QUARNEL_MAIN_DIALOG_ENGLISH;
    // The dialog's result does not matter: nothing is kept.
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(template_id), nullptr,
                    dialog_procedure, reinterpret_cast<LPARAM>(this));
    prompts_.set_owner(nullptr);
    window_ = nullptr;
}

void Win32MainDialog::start(HWND window) {
    window_ = window;
    prompts_.set_owner(window);
    set_icons(window);
    name_.attach(item(ControlId::name));
    fill(item(ControlId::rate_control), rate_control_labels);
    fill(item(ControlId::aspect), aspect_labels);
    fill(item(ControlId::audio_bit_rate), AudioBitRateList);
    fill(item(ControlId::sampling), SamplingFrequencyList);
    controller_.start(current_directory());
    // The files named on the command line are read with the dialog on screen.
    if (given_files_.empty()) return;
    ShowWindow(window, SW_SHOW);
    PostMessageW(window, given_files_notification, 0, 0);
}

void Win32MainDialog::command(int id) {
    switch (static_cast<ControlId>(id)) {
        case ControlId::save:  // also Enter
            controller_.save();
            break;
        case ControlId::cancel:  // also Esc and the close box
            if (controller_.may_close()) EndDialog(window_, IDCANCEL);
            break;
        case ControlId::open:
            controller_.open();
            break;
        case ControlId::ntsc:
            controller_.choose_video_system(video_system_ntsc);
            break;
        case ControlId::pal:
            controller_.choose_video_system(video_system_pal);
            break;
        case ControlId::ac3:
            controller_.set_ac3(ac3_ticked());
            break;
        default:
            break;
    }
}

INT_PTR CALLBACK Win32MainDialog::dialog_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, l);
        reinterpret_cast<Win32MainDialog*>(l)->start(window);
        return TRUE;
    }
    auto* self = reinterpret_cast<Win32MainDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!self) return FALSE;
    switch (message) {
        case drop_notification:
            self->controller_.handle_drop_notification();
            return TRUE;
        case given_files_notification:
            self->name_.receive_files(std::exchange(self->given_files_, {}));
            return TRUE;
        case WM_COMMAND:
            if (HIWORD(w) == BN_CLICKED) self->command(LOWORD(w));
            return TRUE;
    }
    return FALSE;
}

void Win32MainDialog::set_file_name_text(const std::string& text) {
    SetWindowTextW(item(ControlId::name), wide_from_system_code_page(text).c_str());
}

void Win32MainDialog::set_size_text(const std::string& text) {
    SetWindowTextW(item(ControlId::file_size), wide_from_utf8(text).c_str());
}

void Win32MainDialog::set_time_texts(const std::array<std::string, 6>& texts) {
    for (std::size_t i = 0; i < texts.size(); ++i)
        SetDlgItemTextW(window_, static_cast<int>(ControlId::year) + static_cast<int>(i),
                        wide_from_utf8(texts[i]).c_str());
}

void Win32MainDialog::tick(ControlId id, bool ticked) {
    CheckDlgButton(window_, static_cast<int>(id), ticked ? BST_CHECKED : BST_UNCHECKED);
}

bool Win32MainDialog::ticked(ControlId id) const {
    return IsDlgButtonChecked(window_, static_cast<int>(id)) == BST_CHECKED;
}

void Win32MainDialog::set_video_system_choice(std::uint8_t system) {
    tick(ControlId::ntsc, system == video_system_ntsc);
    tick(ControlId::pal, system == video_system_pal);
}

void Win32MainDialog::set_resolution_entries(const std::vector<std::string>& entries) {
    fill(item(ControlId::resolution), entries);
}

void Win32MainDialog::select_resolution(std::uint8_t position) {
    select(item(ControlId::resolution), position);
}
std::uint8_t Win32MainDialog::selected_resolution() const {
    return selected(item(ControlId::resolution));
}
void Win32MainDialog::select_rate_control(std::uint8_t position) {
    select(item(ControlId::rate_control), position);
}
std::uint8_t Win32MainDialog::selected_rate_control() const {
    return selected(item(ControlId::rate_control));
}
void Win32MainDialog::select_aspect(std::uint8_t position) {
    select(item(ControlId::aspect), position);
}
std::uint8_t Win32MainDialog::selected_aspect() const {
    return selected(item(ControlId::aspect));
}
void Win32MainDialog::set_aspect_enabled(bool enabled) {
    EnableWindow(item(ControlId::aspect), enabled);
}
void Win32MainDialog::set_bit_rate_text(const std::string& text) {
    SetWindowTextW(item(ControlId::video_bit_rate), wide_from_utf8(text).c_str());
}
std::string Win32MainDialog::bit_rate_text() const {
    return utf8_from_wide(window_text(item(ControlId::video_bit_rate)));
}
void Win32MainDialog::select_audio_bit_rate(std::uint8_t position) {
    select(item(ControlId::audio_bit_rate), position);
}
std::uint8_t Win32MainDialog::selected_audio_bit_rate() const {
    return selected(item(ControlId::audio_bit_rate));
}
void Win32MainDialog::select_sampling(std::uint8_t position) {
    select(item(ControlId::sampling), position);
}
std::uint8_t Win32MainDialog::selected_sampling() const {
    return selected(item(ControlId::sampling));
}
void Win32MainDialog::set_ac3_ticked(bool ticked) {
    tick(ControlId::ac3, ticked);
}
bool Win32MainDialog::ac3_ticked() const {
    return ticked(ControlId::ac3);
}

std::string Win32MainDialog::name_text() const {
    return utf8_from_wide(window_text(item(ControlId::name)));
}
bool Win32MainDialog::video_auto() const {
    return ticked(ControlId::video_auto);
}
bool Win32MainDialog::audio_auto() const {
    return ticked(ControlId::audio_auto);
}

void Win32MainDialog::set_auto_boxes(bool video, bool audio) {
    tick(ControlId::video_auto, video);
    tick(ControlId::audio_auto, audio);
}

void Win32MainDialog::set_busy(bool busy) {
    // A disabled dialog loses the keyboard focus: the control that had it gets it back.
    if (busy) focus_before_busy_ = GetFocus();
    EnableWindow(window_, !busy);
    if (!busy && focus_before_busy_ && IsChild(window_, focus_before_busy_))
        SetFocus(focus_before_busy_);
}

std::vector<std::string> Win32MainDialog::take_pending_paths() {
    return name_.take_pending_paths();
}

void Win32MainDialog::post_drop_notification() {
    PostMessageW(window_, drop_notification, 0, 0);
}

}  // namespace quarnel
