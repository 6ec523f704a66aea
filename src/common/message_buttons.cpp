#include "common/message_buttons.h"

#include <algorithm>

namespace trimlet {

std::span<const MessageAnswer> OfferedAnswers(MessageButtons buttons) {
    static constexpr MessageAnswer kOk[] = {MessageAnswer::Ok};
    static constexpr MessageAnswer kOkCancel[] = {MessageAnswer::Ok, MessageAnswer::Cancel};
    static constexpr MessageAnswer kYesNo[] = {MessageAnswer::Yes, MessageAnswer::No};
    static constexpr MessageAnswer kYesNoCancel[] = {MessageAnswer::Yes, MessageAnswer::No,
                                                     MessageAnswer::Cancel};
    switch (buttons) {
        case MessageButtons::Ok:
            break;
        case MessageButtons::OkCancel:
            return kOkCancel;
        case MessageButtons::YesNo:
            return kYesNo;
        case MessageButtons::YesNoCancel:
            return kYesNoCancel;
    }
    return kOk;
}

bool Offers(MessageButtons buttons, MessageAnswer answer) {
    const std::span<const MessageAnswer> offered = OfferedAnswers(buttons);
    return std::find(offered.begin(), offered.end(), answer) != offered.end();
}

}  // namespace trimlet
