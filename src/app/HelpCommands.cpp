// The help document and the maker's web page (see HelpCommands.h).
#include "app/HelpCommands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "app/Prompts.h"

#ifndef TALLYON_HOME_PAGE
#define TALLYON_HOME_PAGE "https://example.org/ruvo/tallyon/"
#endif

namespace tallyon {

QString HelpDocumentPath(const QString& programFolder) {
    const QDir folder(programFolder);
    const QString beside = folder.absoluteFilePath(kHelpFileName);
    const QString installed = QDir::cleanPath(
        folder.absoluteFilePath(QStringLiteral("../share/tallyon/") + kHelpFileName));
    for (const QString& path : {beside, installed})
        if (QFileInfo(path).isFile()) return path;
    return beside;
}

QUrl MakerHomePage() {
    return QUrl(QStringLiteral(TALLYON_HOME_PAGE));
}

void OpenHelpIndex() {
    Prompts::current().openExternal(
        QUrl::fromLocalFile(HelpDocumentPath(QCoreApplication::applicationDirPath())));
}

void OpenMakerHomePage() {
    Prompts::current().openExternal(MakerHomePage());
}

}  // namespace tallyon
