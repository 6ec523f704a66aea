#pragma once
// The folder where the file and task dialogs start when none is remembered.

#include <string>

namespace trimlet {

// The user's documents folder: $XDG_DOCUMENTS_DIR when it names an existing folder by an
// absolute path, else $HOME/Documents when that folder exists, else the folder of the
// running program. Fills `folder` and returns true; returns false and leaves `folder`
// empty only when not even the program's folder can be found.
[[nodiscard]] bool FindDocumentsFolder(std::string& folder);

// The folder that holds the running program's executable file; empty when unknown.
std::string ProgramFolder();

}  // namespace trimlet
