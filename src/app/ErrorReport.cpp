// The error box and the application object that catches stray exceptions.
#include "app/ErrorReport.h"

#include "app/Prompts.h"

namespace tallyon {

void ReportError(const QString& message) {
    const QString title = QApplication::applicationDisplayName().isEmpty()
                              ? "Tallyon"
                              : QApplication::applicationDisplayName();
    Prompts::current().tell(QApplication::activeWindow(), title, message, PromptIcon::Error);
}

QString CurrentErrorMessage() {
    try {
        throw;
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

TTallyonApplication::TTallyonApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TTallyonApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ReportError(CurrentErrorMessage());
        return true;
    }
}

}  // namespace tallyon
