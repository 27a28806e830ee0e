#include "app/messages.h"

namespace quarnel {

MessageKind kind_of(MessageId id) {
    return id == MessageId::confirm_batch ? MessageKind::question : MessageKind::error;
}

std::string_view LoadMessage(Language language, MessageId id) {
    const bool japanese = language == Language::japanese;
    switch (id) {
        case MessageId::read_failed:
            return japanese ? "MPEG2情報の取得に失敗しました" : "getting MPEG2 information failed.";
        case MessageId::name_empty:
            return japanese ? "ファイル名が空です" : "file name is empty";
        case MessageId::save_failed:
            return japanese ? "ファイルの保存に失敗しました" : "save of a file failed.";
        case MessageId::confirm_batch:
            return japanese
                       ? "複数のファイルがドロップされました。\n"
                         "変換可能なファイルを元のファイル名の拡張子を.mtvに変更したMTVファイルへ"
                         "一度に変換します。\n"
                         "変換を開始してよろしいですか？"
                       : "Two or more files were dropped.\n"
                         "All processings are performed at once.\n"
                         "filename [original filetitle].mtv\n"
                         "Is it all right?";
    }
    return {};
}

}  // namespace quarnel
