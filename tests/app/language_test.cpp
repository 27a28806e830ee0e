#include "app/language.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "app/dialog_texts.h"

namespace quarnel {
namespace {

TEST(LanguageChoice, JapaneseLocalesChooseJapanese) {
    EXPECT_EQ(language_of_locale("ja_JP.UTF-8"), Language::japanese);
    EXPECT_EQ(language_of_locale("ja_JP.eucJP"), Language::japanese);
    EXPECT_EQ(language_of_locale("ja"), Language::japanese);
    EXPECT_EQ(language_of_locale("ja.UTF-8@euro"), Language::japanese);
}

TEST(LanguageChoice, EveryOtherLocaleChoosesEnglish) {
    for (const char* name :
         {"en_US.UTF-8", "en_GB", "de_DE.UTF-8", "C", "POSIX", "", "jam", "jv_ID", "ko_KR"})
        EXPECT_EQ(language_of_locale(name), Language::english) << name;
}

#ifndef _WIN32
// Sets an environment variable for one test and restores it afterwards.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedVariable() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(LanguageChoice, TheFirstSetLocaleVariableDecides) {
    ScopedVariable all("LC_ALL", nullptr);
    ScopedVariable messages("LC_MESSAGES", "");
    ScopedVariable lang("LANG", "ja_JP.UTF-8");
    EXPECT_EQ(ChooseLanguage(), Language::japanese);
    {
        ScopedVariable override_all("LC_ALL", "en_US.UTF-8");
        EXPECT_EQ(ChooseLanguage(), Language::english);
    }
    ScopedVariable no_lang("LANG", nullptr);
    EXPECT_EQ(ChooseLanguage(), Language::english);
}
#endif

TEST(DialogTexts, BothLanguagesCaptionTheDialogQuarnelAndDifferInTheirLabels) {
    const MainDialogTexts& english = main_dialog_texts(Language::english);
    const MainDialogTexts& japanese = main_dialog_texts(Language::japanese);
    EXPECT_EQ(english.title, "Quarnel");
    EXPECT_EQ(japanese.title, "Quarnel");
    EXPECT_EQ(english.open, "Open(&O)");
    EXPECT_EQ(japanese.open, "開く(&O)");
    EXPECT_EQ(english.save, "Save MTV");
    EXPECT_EQ(japanese.save, "MTV 保存");
    EXPECT_EQ(japanese.date_units[5], "秒");
}

}  // namespace
}  // namespace quarnel
