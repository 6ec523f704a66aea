// trimlet-screenshots OUTDIR TASK: draws the main window with TASK opened, a context menu
// of the list, the dialogs a run asks and the before-and-after view, each into a PNG in
// OUTDIR. Used for the README
// and the guide; the profile is the one TRIMLET_PROFILE names.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QTimer>
#include <QTreeView>
#include <QUrl>
#include <cstdio>
#include <memory>

#include "app/command_table.h"
#include "app/compare_window.h"
#include "app/desktop_app.h"
#include "app/file_filters.h"
#include "app/folder_creation_dialog.h"
#include "app/help_window.h"
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
#include "settings/profile_keys.h"
#include "settings/qt_profile.h"
#include "task/settings_report.h"

using namespace trimlet;

namespace {

bool Save(QWidget& widget, const QDir& dir, const char* name);

// Where the check found a trimmed page differing, as it says it.
constexpr const char* kDifference = "html > body > div: text differs at line 3: \"a  b\" / \"a b\"";

// Opens the before-and-after view of the row whose path ends with `name`, waits for its
// comparison, moves to the first change and draws it into `file`.
bool SaveCompareWindow(CMainFrame& frame, const QDir& dir, const char* name, const char* file) {
    QTreeView* list = frame.View()->ListView();
    list->selectionModel()->clearSelection();
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        const QModelIndex index = list->model()->index(row, 0);
        if (index.data().toString().endsWith(QLatin1String(name)))
            list->selectionModel()->select(index,
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    QApplication::processEvents();
    frame.OnCommand(CMD_COMPARE);
    auto* window = frame.findChild<CCompareWindow*>();
    if (!window) {
        std::printf("FAILED no view of %s\n", name);
        return false;
    }
    QElapsedTimer timer;
    timer.start();
    while (!window->IsReady() && timer.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    window->resize(1040, 560);
    window->NextChange();
    const bool saved = Save(*window, dir, file);
    window->close();
    delete window;
    return saved;
}

bool Save(QWidget& widget, const QDir& dir, const char* name) {
    widget.show();
    QApplication::processEvents();
    const QString path = dir.filePath(QLatin1String(name));
    const bool saved = widget.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}

// Lets the event loop run for `ms` (folder listings and pictures load meanwhile).
void Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
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

    // A row whose result a run with verifying did not write: the warning picture, the tip.
    {
        FileList& rows = frame.Editor().List();
        rows.SetWarning(1, kDifference);
        QApplication::processEvents();
        ok = Save(frame, out, "main-window-verify-warning.png") && ok;
        rows.SetWarning(1, {});
    }

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

    CResultSummaryDlg summary(RunSummary{4, 1, 18342, 13020, {}}, &frame);
    ok = Save(summary, out, "dialog-summary.png") && ok;
    summary.hide();

    // The before-and-after view of a Japanese page and of a script.
    ok = SaveCompareWindow(frame, out, "sjis.html", "compare-japanese-page.png") && ok;
    ok = SaveCompareWindow(frame, out, "menu.js", "compare-script.png") && ok;
    // The summary of a run that skipped files: the list of them with the reasons.
    RunSummary skipped{3, 3, 18342, 13020, {}};
    skipped.skippedFiles = {{"/home/user/site/old/index.html", RESULT_NOT_FOUND},
                            {"/home/user/site/js/menu.js", RESULT_SKIPPED},
                            {"/home/user/site/人物/紹介.htm", RESULT_READ_ONLY_KEPT},
                            {"/home/user/site/code.htm", RESULT_NOT_EQUIVALENT, kDifference}};
    skipped.skippedCount = 4;
    CResultSummaryDlg skippedSummary(skipped, &frame);
    ok = Save(skippedSummary, out, "dialog-summary-skipped.png") && ok;
    skippedSummary.hide();

    // Message boxes as QtDialogs shows them: drawn once shown, then closed with Esc.
    const auto saveModal = [&](const char* name) {
        QTimer::singleShot(300, &frame, [&ok, &out, name] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box) {
                ok = false;
                return;
            }
            ok = Save(*box, out, name) && ok;
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(box, &esc);
        });
    };
    saveModal("dialog-save-changes.png");
    dialogs.Ask(MSG_DISCARD_AND_EXIT, MessageIcon::Question, MessageButtons::YesNoCancel);
    saveModal("dialog-folder-name-refused.png");
    dialogs.Ask(MSG_FOLDER_NAME_REFUSED_POSIX, MessageIcon::None, MessageButtons::Ok);

    // The add-files dialog with its filters, pages and scripts first.
    QFileDialog addFiles(
        &frame, Qs(MessageText(MSG_TITLE_ADD_FILES)),
        QFileInfo(QString::fromLocal8Bit(argv[2])).path() + QStringLiteral("/site"));
    addFiles.setOption(QFileDialog::DontUseNativeDialog, true);
    addFiles.setOption(QFileDialog::HideNameFilterDetails, true);
    addFiles.setNameFilters(
        AddFilesFilters(ReadHtmlExtensions(*profile), ReadScriptExtensions(*profile)));
    addFiles.resize(720, 440);
    addFiles.show();
    Wait(300);
    ok = Save(addFiles, out, "dialog-add-files.png") && ok;
    addFiles.hide();

    // The guide in the window of our own.
    const QStringList guides = CMainFrame::HelpFileCandidates();
    for (const QString& guide : guides) {
        if (!QFileInfo(guide).isFile()) continue;
        CHelpWindow help(&frame);
        help.ShowGuide(QUrl::fromLocalFile(QFileInfo(guide).absoluteFilePath()));
        Wait(200);
        ok = Save(help, out, "help-window.png") && ok;
        help.hide();
        break;
    }
    return ok ? 0 : 1;
}
