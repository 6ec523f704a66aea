#include "cli/batch_answers.h"

#include <iostream>

#include "common/message_buttons.h"

namespace trimlet::cli {

void PrintMessage(std::string_view text) {
    std::string lines;
    lines.reserve(text.size() + 1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        lines += text[i];
    }
    std::cerr << lines << '\n' << std::flush;
}

MessageAnswer BatchAnswers::ShowMessage(const MessageRequest& request) {
    PrintMessage(request.text);
    last_ = request;
    // No keeps a read-only output; OK skips the file and goes on.
    return Offers(request.buttons, MessageAnswer::No) ? MessageAnswer::No : MessageAnswer::Ok;
}

FolderCreationAnswer BatchAnswers::FolderCreationDialog(std::string_view) {
    return {true, false};
}

OutputExistsAnswer BatchAnswers::OutputExistsDialog(const OutputExistsRequest& request) {
    return {request.forAllEnabled ? OutputExistsClose::ForAll : OutputExistsClose::Ok,
            OVERWRITE_CHOICE_OVERWRITE};
}

MessageRequest BatchAnswers::TakeMessage() {
    MessageRequest taken = std::move(last_);
    last_ = MessageRequest{};
    return taken;
}

}  // namespace trimlet::cli
