#pragma once
// Icons of the commands: the desktop theme's icon when it has one, else one of ours, drawn
// at start so that no image plugin is needed.

#include <QIcon>

namespace trimlet {

// The icon of command `id` (theme icon `themeName` first); a null icon for commands
// without one.
QIcon CommandIcon(int id, const char* themeName);

// Our own picture for command `id` (null for commands without one).
QIcon OwnCommandIcon(int id);

// The application's icon.
QIcon ApplicationIcon();

}  // namespace trimlet
