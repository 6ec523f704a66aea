#pragma once
// What a message box offers: the answers of its buttons.

#include <span>

#include "common/dialogs.h"

namespace trimlet {

// The answers of the box's buttons, left to right: OK; OK, Cancel; Yes, No; Yes, No, Cancel.
// The last one does the least (Cancel where the box has it, else No).
std::span<const MessageAnswer> OfferedAnswers(MessageButtons buttons);

// Whether one of the box's buttons gives `answer`.
bool Offers(MessageButtons buttons, MessageAnswer answer);

}  // namespace trimlet
