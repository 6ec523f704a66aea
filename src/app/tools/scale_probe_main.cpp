// trimlet-scale-probe FOLDER [ROWS]: lists ROWS pages of FOLDER (made there when missing)
// in the window and prints how long adding, refreshing, scrolling through and sorting them
// take.
// Figures for the notes on large lists; not a test.
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QScrollBar>
#include <QTreeView>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/main_frame.h"
#include "app/trimlet_view.h"
#include "editor/task_editor.h"
#include "scripted_dialogs.h"
#include "settings/memory_profile.h"

using namespace trimlet;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: trimlet-scale-probe FOLDER [ROWS]\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const int rows = argc > 2 ? std::atoi(argv[2]) : 10000;
    std::filesystem::create_directories(folder);
    for (int i = 0; i < rows; ++i) {
        const std::filesystem::path page = folder / ("page" + std::to_string(i) + ".html");
        if (std::filesystem::exists(page)) continue;
        std::ofstream(page) << "<html>\n  <body>\n    <p>  page " << i
                            << "  </p>\n  </body>\n</html>\n";
    }
    MemoryProfile profile;
    ScriptedDialogs dialogs;
    CMainFrame frame(dialogs, profile);
    frame.resize(900, 600);
    frame.show();
    QApplication::processEvents();
    QTreeView* list = frame.View()->ListView();

    QElapsedTimer timer;
    timer.start();
    frame.AddPaths({folder.string()});
    QApplication::processEvents();
    std::printf("add folder of %d pages (trim preview each): %lld ms, rows %d\n", rows,
                static_cast<long long>(timer.elapsed()), list->model()->rowCount());

    timer.restart();
    frame.OnCommand(CMD_REFRESH);
    QApplication::processEvents();
    std::printf("refresh every row (trim preview each): %lld ms\n",
                static_cast<long long>(timer.elapsed()));

    QScrollBar* bar = list->verticalScrollBar();
    timer.restart();
    int steps = 0;
    for (int value = 0; value <= bar->maximum(); value += bar->pageStep(), ++steps) {
        bar->setValue(value);
        list->viewport()->repaint();
    }
    std::printf("scroll through page by page (%d repaints): %lld ms, %.2f ms a page\n", steps,
                static_cast<long long>(timer.elapsed()),
                steps ? static_cast<double>(timer.elapsed()) / steps : 0.0);

    for (int column : {0, 0, 1, 2, 3}) {
        timer.restart();
        emit list->header()->sectionClicked(column);
        list->viewport()->repaint();
        std::printf("sort by column %d: %lld ms\n", column,
                    static_cast<long long>(timer.elapsed()));
    }
    timer.restart();
    frame.Editor().SelectAll();
    list->viewport()->repaint();
    std::printf("select all: %lld ms\n", static_cast<long long>(timer.elapsed()));
    timer.restart();
    frame.Editor().List().RemoveSelectedRows();
    list->viewport()->repaint();
    std::printf("remove all selected rows: %lld ms\n", static_cast<long long>(timer.elapsed()));
    return 0;
}
