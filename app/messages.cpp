#include "app/messages.h"

#include "app/ui_texts.h"

namespace quarnel {

MessageKind kind_of(MessageId id) {
    return id == MessageId::confirm_batch ? MessageKind::question : MessageKind::error;
}

std::string_view LoadMessage(Language language, MessageId id) {
    const bool japanese = language == Language::japanese;
    switch (id) {
        case MessageId::read_failed:
            return japanese ? QUARNEL_JA_MESSAGE_134 : QUARNEL_EN_MESSAGE_134;
        case MessageId::name_empty:
            return japanese ? QUARNEL_JA_MESSAGE_135 : QUARNEL_EN_MESSAGE_135;
        case MessageId::save_failed:
            return japanese ? QUARNEL_JA_MESSAGE_137 : QUARNEL_EN_MESSAGE_137;
        case MessageId::confirm_batch:
            return japanese ? QUARNEL_JA_MESSAGE_138 : QUARNEL_EN_MESSAGE_138;
    }
    return {};
}

}  // namespace quarnel
