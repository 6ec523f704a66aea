// trimlet-gui: the desktop window.
#include "app/desktop_app.h"

int main(int argc, char** argv) {
    return trimlet::RunDesktop(argc, argv);
}
