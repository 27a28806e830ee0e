#pragma once
// The texts of the message boxes, by their resource identifiers, in both languages.

#include <string_view>

#include "app/language.h"
#include "app/ui_texts.h"

namespace quarnel {

enum class MessageId : int {
    read_failed = 134,    // a file could not be read or analysed
    name_empty = 135,     // "Save MTV" with an empty name box
    save_failed = 137,    // an .mtv file could not be written
    confirm_batch = 138,  // several files were dropped: convert them all?
};

// How a message is shown: an error box with one OK button, or a question with Yes and No.
enum class MessageKind { error, question };

MessageKind kind_of(MessageId id);

// The text of message `id` in `language` (UTF-8, line breaks as '\n').
std::string_view LoadMessage(Language language, MessageId id);

// Every message box is captioned with the program's name.
inline constexpr std::string_view message_caption = QUARNEL_TITLE;

}  // namespace quarnel
