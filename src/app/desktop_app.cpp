#include "app/desktop_app.h"

#include <QApplication>
#include <QMainWindow>

#include "app/qt_dialogs.h"
#include "app/qt_text.h"
#include "common/messages.h"
#include "settings/qt_profile.h"

namespace trimlet {

int RunDesktop(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(Qs(TXT_APP_TITLE));
    window.resize(640, 400);
    window.show();
    return app.exec();
}

}  // namespace trimlet
