#pragma once
// The answers of a many-file trim, which asks nobody: every per-file problem is printed on
// standard error and skips the file, an existing output is replaced, a read-only output is
// kept, a missing folder is made. The last message shown is kept for the file it was about.

#include <string>

#include "common/run_questions.h"

namespace trimlet::cli {

class BatchAnswers final : public RunQuestions {
  public:
    MessageAnswer ShowMessage(const MessageRequest& request) override;
    FolderCreationAnswer FolderCreationDialog(std::string_view text) override;
    OutputExistsAnswer OutputExistsDialog(const OutputExistsRequest& request) override;

    // The message shown since the last call (id 0 when none), then forgotten.
    MessageRequest TakeMessage();

  private:
    MessageRequest last_;
};

// Writes a message's text on standard error, its "\r\n" as line breaks.
void PrintMessage(std::string_view text);

}  // namespace trimlet::cli
