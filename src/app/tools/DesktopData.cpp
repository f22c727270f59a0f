// Writes the files that make the installed program a desktop application, from the same
// code that the Register command uses: the icon in every hicolor size, the document type and
// the desktop entry. Usage: tallyon-desktop-data <folder>; the folder receives
// icons/hicolor/<size>x<size>/apps/tallyon.png, mime/packages/tallyon.xml and
// applications/tallyon.desktop.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <cstdio>

#include "app/FileAssociation.h"
#include "app/Icons.h"

namespace {

bool writeFile(const QString& path, const QByteArray& contents) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tallyon-desktop-data FOLDER\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    bool ok = true;
    for (int size : tallyon::kProgramIconSizes) {
        const QString path = QStringLiteral("%1/icons/hicolor/%2x%2/apps/%3.png")
                                 .arg(root)
                                 .arg(size)
                                 .arg(tallyon::kIconName);
        QDir().mkpath(QFileInfo(path).path());
        ok = tallyon::ProgramIconImage(size).save(path, "PNG") && ok;
    }
    ok = writeFile(root + "/mime/packages/tallyon.xml", tallyon::MimeTypeXml().toUtf8()) && ok;
    ok = writeFile(root + "/applications/" + tallyon::kDesktopEntryName,
                   tallyon::DesktopEntryText("tallyon").toUtf8()) &&
         ok;
    if (!ok) std::fprintf(stderr, "tallyon-desktop-data: cannot write into %s\n", argv[1]);
    return ok ? 0 : 1;
}
