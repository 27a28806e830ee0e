#include "app/messages.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quarnel {
namespace {

TEST(MessageTexts, EnglishTextsAreExact) {
    EXPECT_EQ(LoadMessage(Language::english, MessageId::read_failed),
              "getting MPEG2 information failed.");
    EXPECT_EQ(LoadMessage(Language::english, MessageId::name_empty), "file name is empty");
    EXPECT_EQ(LoadMessage(Language::english, MessageId::save_failed), "save of a file failed.");
    EXPECT_EQ(LoadMessage(Language::english, MessageId::confirm_batch),
              "Two or more files were dropped.\nAll processings are performed at once.\n"
              "filename [original filetitle].mtv\nIs it all right?");
}

TEST(MessageTexts, JapaneseTextsAreExact) {
    EXPECT_EQ(LoadMessage(Language::japanese, MessageId::read_failed),
              "MPEG2情報の取得に失敗しました");
    EXPECT_EQ(LoadMessage(Language::japanese, MessageId::name_empty), "ファイル名が空です");
    EXPECT_EQ(LoadMessage(Language::japanese, MessageId::save_failed),
              "ファイルの保存に失敗しました");
    EXPECT_EQ(LoadMessage(Language::japanese, MessageId::confirm_batch),
              "複数のファイルがドロップされました。\n"
              "変換可能なファイルを元のファイル名の拡張子を.mtvに変更したMTVファイルへ一度に変換"
              "します。\n変換を開始してよろしいですか？");
}

TEST(MessageTexts, BatchQuestionHasFourLinesInEnglishAndThreeInJapanese) {
    const auto lines = [](Language language) {
        const auto text = LoadMessage(language, MessageId::confirm_batch);
        return std::count(text.begin(), text.end(), '\n') + 1;
    };
    EXPECT_EQ(lines(Language::english), 4);
    EXPECT_EQ(lines(Language::japanese), 3);
}

TEST(MessageTexts, OnlyTheBatchQuestionAsks) {
    EXPECT_EQ(kind_of(MessageId::confirm_batch), MessageKind::question);
    for (MessageId id : {MessageId::read_failed, MessageId::name_empty, MessageId::save_failed})
        EXPECT_EQ(kind_of(id), MessageKind::error);
}

}  // namespace
}  // namespace quarnel
