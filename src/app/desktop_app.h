#pragma once
// Start-up and life of the desktop program.

#include <QString>
#include <QStringList>

class QApplication;

namespace trimlet {

struct StartOptions {
    QString profilePath;  // --profile FILE
    QString taskPath;     // the first other argument, made absolute
};

// Reads the program's arguments (the first is the program itself).
StartOptions ParseStartOptions(const QStringList& arguments);

// What names the profile for the one-window rule: the INI file given or named by
// TRIMLET_PROFILE (absolute), or empty for the user's own profile.
QString InstanceProfileKey(const QString& profilePath);

// Loads Qt's own Japanese texts when they are installed.
void LoadQtTranslation(QApplication& app);

// Starts the window, runs until it closes; the program's exit status.
int RunDesktop(int argc, char** argv);

}  // namespace trimlet
