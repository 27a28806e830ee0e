#include "app/language.h"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#endif

namespace quarnel {

Language language_of_locale(std::string_view locale_name) {
    // language[_territory][.codeset][@modifier]
    const std::string_view language = locale_name.substr(0, locale_name.find_first_of("_.@"));
    return language == "ja" ? Language::japanese : Language::english;
}

Language ChooseLanguage() {
#ifdef _WIN32
    constexpr LANGID japanese = 0x411;
    return GetUserDefaultLangID() == japanese ? Language::japanese : Language::english;
#else
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return language_of_locale(value);
    }
    return Language::english;
#endif
}

}  // namespace quarnel
