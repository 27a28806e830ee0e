#include "win/win_prompts.h"

#include <commdlg.h>

#include <span>
#include <vector>

#include "app/file_filters.h"
#include "mtv/save_names.h"
#include "win/wide_text.h"

namespace quarnel {
namespace {

// The filter list of a common file dialog: name and patterns of each type, each ended by a
// zero, the list by a second one.
std::wstring filter_list(std::span<const FileFilter> filters) {
    std::wstring list;
    for (const FileFilter& filter : filters) {
        std::wstring patterns = wide_from_utf8(filter.patterns);
        for (wchar_t& c : patterns)
            if (c == L' ') c = L';';
        list += wide_from_utf8(filter.name) + L'\0' + patterns + L'\0';
    }
    return list + L'\0';
}

// Room for the longest path the wide file calls take.
constexpr DWORD path_room = 32768;

struct FileDialog {
    FileDialog(HWND owner, std::span<const FileFilter> filters, std::string_view extension,
               const std::string& folder, const std::string& name)
        : filter(filter_list(filters)),
          default_extension(wide_from_utf8(extension)),
          initial_folder(wide_from_utf8(folder)),
          path(path_room, L'\0') {
        const std::wstring initial_name = wide_from_utf8(name);
        initial_name.copy(path.data(), path_room - 1);
        fields.lStructSize = sizeof fields;
        fields.hwndOwner = owner;
        fields.lpstrFilter = filter.c_str();
        fields.lpstrFile = path.data();
        fields.nMaxFile = path_room;
        fields.lpstrInitialDir = initial_folder.empty() ? nullptr : initial_folder.c_str();
        fields.lpstrDefExt = default_extension.c_str();
    }

    std::optional<std::string> chosen(BOOL accepted) const {
        if (!accepted) return std::nullopt;
        return utf8_from_wide(path.data());
    }

    std::wstring filter;
    std::wstring default_extension;
    std::wstring initial_folder;
    std::vector<wchar_t> path;
    OPENFILENAMEW fields{};
};

LANGID language_id(Language language) {
    return language == Language::japanese ? MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)
                                          : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

}  // namespace

std::wstring string_table_message(Language language, MessageId id) {
    // Sixteen texts to a block, each a 16-bit length and that many UTF-16 code units.
    const int number = static_cast<int>(id);
    const HRSRC block = FindResourceExW(nullptr, MAKEINTRESOURCEW(6) /* RT_STRING */,
                                        MAKEINTRESOURCEW(number / 16 + 1), language_id(language));
    if (!block) return {};
    const auto* entry = static_cast<const wchar_t*>(LockResource(LoadResource(nullptr, block)));
    if (!entry) return {};
    for (int i = 0; i < number % 16; ++i) entry += 1 + *entry;
    return std::wstring(entry + 1, *entry);
}

std::optional<std::string> Win32Prompts::choose_file_to_open(const std::string& folder) {
    FileDialog dialog(owner_, mpeg_filters, mpeg_default_extension, folder, {});
    dialog.fields.Flags =
        OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    return dialog.chosen(GetOpenFileNameW(&dialog.fields));
}

std::optional<std::string> Win32Prompts::choose_file_to_save(const std::string& folder,
                                                             const std::string& name) {
    FileDialog dialog(owner_, mtv_filters, mtv_extension, folder, name);
    dialog.fields.Flags =
        OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    return dialog.chosen(GetSaveFileNameW(&dialog.fields));
}

int Win32Prompts::message_box(MessageId id, UINT kind) {
    return MessageBoxW(owner_, string_table_message(language_, id).c_str(),
                       wide_from_utf8(message_caption).c_str(), kind);
}

void Win32Prompts::show_error(MessageId id) {
    message_box(id, MB_OK | MB_ICONSTOP);
}

bool Win32Prompts::ask(MessageId id) {
    return message_box(id, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace quarnel
