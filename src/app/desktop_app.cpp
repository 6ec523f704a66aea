#include "app/desktop_app.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>
#include <memory>

#include "app/main_frame.h"
#include "app/qt_dialogs.h"
#include "app/qt_text.h"
#include "app/single_instance.h"
#include "app/tool_icons.h"
#include "common/language.h"
#include "settings/migration.h"
#include "settings/qt_profile.h"

namespace trimlet {

StartOptions ParseStartOptions(const QStringList& arguments) {
    StartOptions options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--profile") && i + 1 < arguments.size()) {
            options.profilePath = arguments[++i];
        } else if (argument.startsWith(QLatin1String("--profile="))) {
            options.profilePath = argument.mid(10);
        } else if (options.taskPath.isEmpty()) {
            // A task path is made absolute, so a running window given it from another
            // folder still finds it.
            options.taskPath = QFileInfo(argument).absoluteFilePath();
        }
    }
    return options;
}

QString InstanceProfileKey(const QString& profilePath) {
    QString path = profilePath;
    if (path.isEmpty()) path = qEnvironmentVariable(kProfileEnvironmentVariable);
    return path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
}

void LoadQtTranslation(QApplication& app) {
    // Qt's own texts (file dialogs, context menus) speak the window's language; they are
    // English without a translation.
    if (CurrentLanguage() != Language::Japanese) return;
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    }
}

int RunDesktop(int argc, char** argv) {
    SetLanguage(LanguageFromEnvironment());
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("trimlet-gui"));
    QApplication::setDesktopFileName(QStringLiteral("trimlet-html"));
    QApplication::setWindowIcon(ApplicationIcon());
    const StartOptions options = ParseStartOptions(QApplication::arguments());

    // Without a private folder, or when a window there does not answer, this start runs a
    // window of its own.
    const QString socketPath = InstanceSocketPath(InstanceProfileKey(options.profilePath));
    CInstanceServer server;
    switch (HandToRunningInstance(socketPath, options.taskPath)) {
        case HandOver::Taken:
            return 0;
        case HandOver::NoInstance:
            server.Listen(socketPath);
            break;
        case HandOver::NoAnswer:
            break;
    }

    LoadQtTranslation(app);
    std::unique_ptr<Profile> profile = OpenProfile(Utf8(options.profilePath));
    MigrateProfile(*profile);

    QtDialogs dialogs(*profile);
    CMainFrame frame(dialogs, *profile);
    dialogs.SetParent(&frame);
    QObject::connect(&server, &CInstanceServer::TaskRequested, &frame,
                     &CMainFrame::HandleTaskRequest);
    frame.show();
    // The task of the command line opens once the window is up, so its questions have a
    // parent; a task that cannot be opened leaves an empty window.
    QTimer::singleShot(0, &frame, [&frame, task = options.taskPath] { frame.InitialUpdate(task); });
    return app.exec();
}

}  // namespace trimlet
