#pragma once
// What the dialog asks of the user: file dialogs and message boxes. Production shows
// Qt's dialogs (QtPrompts); tests answer through a fake.

#include <optional>
#include <string>

#include "app/messages.h"

namespace quarnel {

class UserPrompts {
  public:
    virtual ~UserPrompts() = default;

    // An existing MPEG file picked in a dialog opened in `folder`; nothing when cancelled.
    virtual std::optional<std::string> choose_file_to_open(const std::string& folder) = 0;
    // Where to save a header, proposing `name` in `folder`; nothing when cancelled. The
    // dialog has already asked before replacing an existing file.
    virtual std::optional<std::string> choose_file_to_save(const std::string& folder,
                                                           const std::string& name) = 0;
    // An error box (stop icon, OK) with message `id`.
    virtual void show_error(MessageId id) = 0;
    // A question box (question icon, Yes and No) with message `id`; true for Yes.
    virtual bool ask(MessageId id) = 0;
};

}  // namespace quarnel
