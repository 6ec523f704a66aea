// trimlet-gui: the desktop window.
#include "app/desktop_app.h"
#include "platform/durable_write.h"

int main(int argc, char** argv) {
    // A stop request, a closed terminal or the end of the session leaves no temporary file.
    trimlet::RemoveTemporaryFilesOnSignals();
    return trimlet::RunDesktop(argc, argv);
}
