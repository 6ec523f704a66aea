// The file lists of drops and the clipboard, and the program's arguments.
#include <gtest/gtest.h>

#include <QDir>
#include <QMimeData>

#include "app/desktop_app.h"
#include "app/dropped_files.h"
#include "qstring_printer.h"

namespace trimlet {
namespace {

TEST(DroppedFiles, PathsFromBothFormats) {
    struct Case {
        const char* name;
        const char* format;
        QByteArray bytes;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"uri list with CRLF and a comment",
         kUriListMime,
         "# from a file manager\r\nfile:///home/a/index.html\r\nfile:///home/a/b%20c.htm\r\n",
         {"/home/a/index.html", "/home/a/b c.htm"}},
        {"Japanese name, percent-encoded UTF-8",
         kUriListMime,
         "file:///site/%E3%83%88%E3%83%83%E3%83%97.html",
         {"/site/トップ.html"}},
        {"gnome copy",
         kGnomeCopiedFilesMime,
         "copy\nfile:///x/a.htm\nfile:///x/dir",
         {"/x/a.htm", "/x/dir"}},
        {"remote URLs are kept as written",
         kUriListMime,
         "https://example.com/a%20b.html\nsftp://host/x.htm",
         {"https://example.com/a b.html", "sftp://host/x.htm"}},
        {"empty", kUriListMime, "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QMimeData data;
        data.setData(QString::fromLatin1(c.format), c.bytes);
        EXPECT_TRUE(HoldsFileList(&data));
        EXPECT_EQ(FileListPaths(data), c.expected);
    }
    QMimeData text;
    text.setText(QStringLiteral("/home/a/index.html"));
    EXPECT_FALSE(HoldsFileList(&text));
    EXPECT_FALSE(HoldsFileList(nullptr));
}

TEST(StartOptions, ProfileAndTaskPath) {
    struct Case {
        const char* name;
        QStringList arguments;
        QString profile;
        QString task;
    };
    const Case cases[] = {
        {"nothing", {"trimlet-gui"}, "", ""},
        {"profile and absolute task",
         {"trimlet-gui", "--profile", "/p.ini", "/t/site.trh"},
         "/p.ini",
         "/t/site.trh"},
        {"profile with equals after task",
         {"trimlet-gui", "/t/a.trh", "--profile=/q.ini"},
         "/q.ini",
         "/t/a.trh"},
        {"relative task made absolute",
         {"trimlet-gui", "rel.trh"},
         "",
         QDir::current().absoluteFilePath("rel.trh")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const StartOptions options = ParseStartOptions(c.arguments);
        EXPECT_EQ(options.profilePath, c.profile);
        EXPECT_EQ(options.taskPath, c.task);
    }
}

}  // namespace
}  // namespace trimlet
