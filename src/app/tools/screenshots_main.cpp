// trimlet-screenshots OUTDIR TASK: draws the main window with TASK opened, a context menu
// of the list and the dialogs a run asks, each into a PNG in OUTDIR. Used for the README
// and the guide; the profile is the one TRIMLET_PROFILE names.
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QTimer>
#include <QTreeView>
#include <cstdio>
#include <memory>

#include "app/desktop_app.h"
#include "app/folder_creation_dialog.h"
#include "app/main_frame.h"
#include "app/output_exists_dialog.h"
#include "app/qt_dialogs.h"
#include "app/qt_text.h"
#include "app/result_summary_dialog.h"
#include "app/settings_mismatch_dialog.h"
#include "app/trimlet_view.h"
#include "common/messages.h"
#include "editor/task_editor.h"
#include "engine/trim_mode.h"
#include "settings/migration.h"
#include "settings/qt_profile.h"
#include "task/settings_report.h"

using namespace trimlet;

namespace {

bool Save(QWidget& widget, const QDir& dir, const char* name) {
    widget.show();
    QApplication::processEvents();
    const QString path = dir.filePath(QLatin1String(name));
    const bool saved = widget.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    SetLanguage(LanguageFromEnvironment());
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: trimlet-screenshots OUTDIR TASK.trh\n");
        return 2;
    }
    LoadQtTranslation(app);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    std::unique_ptr<Profile> profile = OpenProfile();
    MigrateProfile(*profile);
    QtDialogs dialogs(*profile);
    CMainFrame frame(dialogs, *profile);
    dialogs.SetParent(&frame);
    frame.resize(760, 420);
    frame.show();
    frame.InitialUpdate(QString::fromLocal8Bit(argv[2]));
    QTreeView* list = frame.View()->ListView();
    if (list->model()->rowCount() > 1) list->selectionModel()->clearSelection();
    bool ok = Save(frame, out, "main-window.png");

    // The window during long work (a refresh of every row), drawn when it first catches up:
    // the progress pane with its stop button, the commands that could change the list
    // disabled.
    QTimer::singleShot(0, &frame, [&] { ok = Save(frame, out, "main-window-working.png") && ok; });
    frame.OnCommand(CMD_REFRESH);

    // The list's context menu over a row, drawn into the window's picture.
    const QRect row = list->visualRect(list->model()->index(1, 0));
    QMenu* menu = frame.View()->ContextMenuAt(row.center());
    menu->popup(list->viewport()->mapToGlobal(row.center()));
    QApplication::processEvents();
    QPixmap shot = frame.grab();
    {
        QPainter painter(&shot);
        painter.drawPixmap(frame.mapFromGlobal(menu->pos()), menu->grab());
    }
    menu->close();
    ok = shot.save(out.filePath(QStringLiteral("context-menu.png"))) && ok;
    std::printf("wrote %s\n", qPrintable(out.filePath(QStringLiteral("context-menu.png"))));

    CFolderCreationDlg folder(FormatMessage(MSG_CREATE_FOLDER_QUESTION, "/home/user/site/Trimlet"),
                              &frame);
    ok = Save(folder, out, "dialog-folder-creation.png") && ok;
    folder.hide();

    OutputExistsRequest request;
    request.message = FormatMessage(MSG_OUTPUT_EXISTS);
    request.inputText = FormatMessage(MSG_FILE_DESCRIPTION, "/home/user/site/index.html", "2,480",
                                      2026, 12, 7, 9, 5);
    request.outputText = FormatMessage(MSG_FILE_DESCRIPTION, "/home/user/site/Trimlet/index.html",
                                       "1,904", 2026, 12, 6, 18, 42);
    COutputExistsDlg exists(request, &frame);
    ok = Save(exists, out, "dialog-output-exists.png") && ok;
    exists.hide();

    const std::string report = BuildSettingsReport(kDefaultTrimMode, "Trimlet",
                                                   kDefaultTrimMode ^ TM_HTML_COMMENT_DEL, "out");
    CSettingsMismatchDlg mismatch(report, &frame);
    ok = Save(mismatch, out, "dialog-settings-mismatch.png") && ok;
    mismatch.hide();

    CResultSummaryDlg summary(RunSummary{4, 1, 18342, 13020}, &frame);
    ok = Save(summary, out, "dialog-summary.png") && ok;
    summary.hide();
    return ok ? 0 : 1;
}
