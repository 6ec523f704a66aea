#pragma once
// The operating system's reason for the last failure on this thread, so a message can say
// whether a disk is full or a permission is missing. Platform calls note the error number
// where they fail; callers that turn a result code into a message read it back.

#include <string>

#include "common/language.h"
#include "common/result.h"

namespace trimlet {

// Remembers `errorNumber` (an errno value) as this thread's last system error.
void NoteSystemError(int errorNumber);
// Forgets it, before an operation whose failure should not be explained by an older one.
void ClearSystemError();
// This thread's last noted errno value, 0 when none.
int LastSystemError();
// The reason `errorNumber` stands for, in the current language (or `language`), so that it
// reads in the language of the sentence it ends: our own words for the common failures of
// files and folders (missing, no permission, no space, ...), the system's for the rest;
// empty for 0.
std::string SystemErrorText(int errorNumber);
std::string SystemErrorText(int errorNumber, Language language);
// Maps an errno value of a failed open, create or rename to a result code.
[[nodiscard]] Result ResultOfSystemError(int error);

}  // namespace trimlet
