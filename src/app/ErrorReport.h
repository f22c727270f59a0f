// The application's standard error report: an error that escapes a command or handler ends
// that command and is shown in a message box with its message; the program keeps running
// and the document stays as the command left it.
//
// Qt does not carry exceptions out of event handlers, so TTallyonApplication catches them in
// notify() as a last resort, and the window's handlers run their work through Guarded().
#pragma once

#include <QApplication>
#include <QString>
#include <exception>

namespace tallyon {

// Shows `message` in the error box, parented to the active window.
void ReportError(const QString& message);
// The message of the exception being handled ("Unknown error" for one that is not a
// std::exception).
QString CurrentErrorMessage();

// Runs `work`; an exception it raises is reported and swallowed. Returns false after an
// error.
template <typename Work>
bool Guarded(Work&& work) {
    try {
        work();
        return true;
    } catch (...) {
        ReportError(CurrentErrorMessage());
        return false;
    }
}

class TTallyonApplication : public QApplication {
public:
    TTallyonApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace tallyon
