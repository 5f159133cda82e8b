#include "app/CMainFrame.h"
#include "app/ProgramIcon.h"
#include "app/SplashWindow.h"
#include "platform/TerminationCleanup.h"

#include <QApplication>

int main(int argc, char** argv) {
    // A save interrupted by SIGTERM or SIGINT leaves no temporary files and no half-saved pair.
    fenwold::InstallTerminationCleanup();
    QApplication application(argc, argv);
    QApplication::setApplicationName("Fenwold");
    QApplication::setApplicationVersion(FENWOLD_VERSION);
    QApplication::setWindowIcon(fenwold::ProgramIcon());

    auto* splash = new fenwold::SplashWindow;
    splash->show();

    fenwold::CMainFrame frame;
    frame.show();
    // A file named on the command line opens; with none the program starts with no document.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        frame.OpenByExtension(arguments[1]);
    }
    return QApplication::exec();
}
