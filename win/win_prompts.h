#pragma once
// The dialog's questions as Windows asks them: the common open and save dialogs and message
// boxes captioned with the program's name, their texts taken from the string table.

#include <windows.h>

#include <string>

#include "app/language.h"
#include "app/prompts.h"

namespace quarnel {

class Win32Prompts : public UserPrompts {
  public:
    explicit Win32Prompts(Language language) : language_(language) {}

    // The window the dialogs and boxes belong to (the main dialog once it exists).
    void set_owner(HWND owner) { owner_ = owner; }

    std::optional<std::string> choose_file_to_open(const std::string& folder) override;
    std::optional<std::string> choose_file_to_save(const std::string& folder,
                                                   const std::string& name) override;
    void show_error(MessageId id) override;
    bool ask(MessageId id) override;

  private:
    int message_box(MessageId id, UINT kind);

    Language language_;
    HWND owner_ = nullptr;
};

// The text of message `id` in `language` from the program's string table.
std::wstring string_table_message(Language language, MessageId id);

}  // namespace quarnel
