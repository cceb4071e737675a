// The application's entry: settle where files live, create the main window
// (which applies the remembered language and loads the banner), select the
// files named on the command line (imgcrypt-gui FILE..., as the desktop
// entry's "Open with" starts it), run.
#include <unistd.h>

#include <QApplication>
#include <cstdlib>
#include <string>
#include <vector>

#include "batch/app_locations.h"
#include "imgcrypt_version.h"
#include "ui/main_window.h"

int main(int argc, char* argv[]) {
    // The web engine refuses to start as root with its sandbox on; only then
    // is it switched off.
    if (geteuid() == 0 && std::getenv("QTWEBENGINE_DISABLE_SANDBOX") == nullptr) {
        setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
    }
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("imgcrypt"));
    QCoreApplication::setApplicationVersion(QStringLiteral(IMGCRYPT_VERSION));
    // The desktop entry's name, so the desktop shows the window under its
    // icon and name.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.zelvok.imgcrypt"));

    imgcrypt::TfrmMain window(imgcrypt::SettleAppLocations());
    // What QApplication left of the arguments once it took its own options:
    // file names as the system gives them, bytes like every path here.
    window.CommandLineFiles(std::vector<std::string>(argv + 1, argv + argc));
    window.show();
    return app.exec();
}
