#pragma once
// The language of the user interface: Japanese for Japanese users, English for everyone
// else. Chosen once at start-up and never changed while the program runs.

#include <string_view>

namespace quarnel {

enum class Language { japanese, english };

// The language of a POSIX locale name such as "ja_JP.UTF-8", "ja" or "en_GB".
Language language_of_locale(std::string_view locale_name);

// The user's language: on Windows the user default language identifier (0x411 is
// Japanese); elsewhere the locale that decides message texts (LC_ALL, then LC_MESSAGES,
// then LANG, the first one set and not empty).
Language ChooseLanguage();

}  // namespace quarnel
