// Program entry: the application object with its error report, the main window, and the
// event loop until the main window has closed.
#include <QApplication>

#include "app/ErrorReport.h"
#include "app/Icons.h"
#include "app/MainWnd.h"

int main(int argc, char* argv[]) {
    tallyon::TTallyonApplication app(argc, argv);
    QApplication::setApplicationName("Tallyon");
    QApplication::setOrganizationName("Ruvo");
    QApplication::setWindowIcon(tallyon::ProgramIcon());
    QGuiApplication::setDesktopFileName("tallyon");
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    tallyon::TFrmMain window(arguments);
    window.show();
    // A simple window is a tool window, which does not count as a last window; the program
    // ends when the main window has closed, whatever its style.
    QObject::connect(&window, &tallyon::TFrmMain::closed, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    return app.exec();
}
