// The file-type association (see FileAssociation.h).
#include "app/FileAssociation.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include "app/Icons.h"
#include "app/Prompts.h"
#include "settings/SettingsRecord.h"

namespace tallyon {

namespace {

// The file type's display name, in Japanese whatever the interface language.
constexpr char kTypeName[] = "Tallyon計算文書ファイル";

// A tool that does not finish within this time counts as failed.
constexpr int kToolTimeoutMs = 60000;

QString folderFromEnvironment(const char* name, const QString& fallback) {
    const QString value = qEnvironmentVariable(name);
    // The freedesktop rules ignore a relative path.
    return QDir::isAbsolutePath(value) ? value : fallback;
}

QString mimeFile(const DesktopFolders& f) {
    return f.dataHome + "/mime/packages/tallyon.xml";
}
QString desktopFile(const DesktopFolders& f) {
    return f.dataHome + "/applications/" + kDesktopEntryName;
}
QString iconFile(const DesktopFolders& f, int size) {
    return QStringLiteral("%1/icons/hicolor/%2x%2/apps/%3.png")
        .arg(f.dataHome)
        .arg(size)
        .arg(kIconName);
}
QString mimeAppsFile(const DesktopFolders& f) {
    return f.configHome + "/mimeapps.list";
}

}  // namespace

DesktopFolders DesktopFolders::fromEnvironment() {
    const QString home = QDir::homePath();
    return {folderFromEnvironment("XDG_DATA_HOME", home + "/.local/share"),
            folderFromEnvironment("XDG_CONFIG_HOME", home + "/.config")};
}

QString DesktopExecArgument(const QString& path) {
    // Inside double quotes the Exec key wants ", `, $ and \ escaped with a backslash; the
    // desktop file's string escapes then double every backslash, and % is doubled.
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool quote = path.isEmpty();
    for (QChar c : path)
        if (reserved.contains(c)) quote = true;
    QString out;
    for (QChar c : path) {
        if (c == '%') {
            out += "%%";
        } else if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) {
            out += c == '\\' ? QStringLiteral("\\\\\\\\") : QStringLiteral("\\\\") + c;
        } else if (c == '\n') {
            out += QStringLiteral("\\n");
        } else {
            out += c;
        }
    }
    return quote ? '"' + out + '"' : out;
}

QString MimeTypeXml() {
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
               "  <mime-type type=\"%1\">\n"
               "    <comment>%2</comment>\n"
               "    <sub-class-of type=\"text/plain\"/>\n"
               "    <icon name=\"%3\"/>\n"
               "    <glob pattern=\"*.tyq\"/>\n"
               "  </mime-type>\n"
               "</mime-info>\n")
        .arg(kDocumentMimeType, QString::fromUtf8(kTypeName), kIconName);
}

QString DesktopEntryText(const QString& programPath) {
    return QStringLiteral(
               "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=Tallyon\n"
               "GenericName=Calculator\n"
               "Comment=Calculate on a text document\n"
               "Comment[ja]=テキスト文書の上で計算する\n"
               "Exec=%1 %f\n"
               "Icon=%2\n"
               "Terminal=false\n"
               "MimeType=%3;\n"
               "Categories=Utility;Calculator;\n")
        .arg(DesktopExecArgument(programPath), kIconName, kDocumentMimeType);
}

FileAssociation::FileAssociation(DesktopFolders folders, QString programPath)
    : folders_(std::move(folders)), programPath_(std::move(programPath)) {}

QStringList FileAssociation::files() const {
    QStringList list{mimeFile(folders_), desktopFile(folders_)};
    for (int size : kProgramIconSizes)
        list << iconFile(folders_, size);
    return list;
}

bool FileAssociation::write(const QString& path, const QByteArray& contents) {
    QSaveFile file(path);
    if (!QDir().mkpath(QFileInfo(path).path()) || !file.open(QIODevice::WriteOnly) ||
        file.write(contents) != contents.size() || !file.commit()) {
        error_ = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool FileAssociation::remove(const QString& path) {
    QFile file(path);
    if (!file.exists() || file.remove()) return true;
    error_ = QStringLiteral("%1: %2").arg(path, file.errorString());
    return false;
}

bool FileAssociation::runTool(const QString& tool, const QStringList& arguments) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty()) {
        error_ = tool + QStringLiteral(": not found");
        return false;
    }
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_DATA_HOME", folders_.dataHome);
    environment.insert("XDG_CONFIG_HOME", folders_.configHome);
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(kToolTimeoutMs);
    if (finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return true;
    if (!finished) process.kill();
    const QString output = QString::fromLocal8Bit(process.readAll()).trimmed();
    error_ = QStringLiteral("%1: %2").arg(tool, output.isEmpty() ? process.errorString() : output);
    return false;
}

bool FileAssociation::Register() {
    error_.clear();
    if (!write(mimeFile(folders_), MimeTypeXml().toUtf8()) ||
        !write(desktopFile(folders_), DesktopEntryText(programPath_).toUtf8()))
        return false;
    for (int size : kProgramIconSizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        ProgramIconImage(size).save(&buffer, "PNG");
        if (!write(iconFile(folders_, size), png)) return false;
    }
    return runTool("update-mime-database", {folders_.dataHome + "/mime"}) &&
           runTool("update-desktop-database", {folders_.dataHome + "/applications"}) &&
           runTool("xdg-mime", {"default", kDesktopEntryName, kDocumentMimeType});
}

// Takes this program out of the type's entries in the user's list of default applications;
// an entry left with no application goes.
bool FileAssociation::forgetDefault() {
    const QString path = mimeAppsFile(folders_);
    QFile file(path);
    if (!file.exists()) return true;
    if (!file.open(QIODevice::ReadOnly)) {
        error_ = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    file.close();
    const QString key = QString::fromLatin1(kDocumentMimeType) + '=';
    QStringList kept;
    bool changed = false;
    for (const QString& line : lines) {
        if (!line.trimmed().startsWith(key)) {
            kept << line;
            continue;
        }
        QStringList apps = line.trimmed().mid(key.size()).split(';', Qt::SkipEmptyParts);
        changed = apps.removeAll(QString::fromLatin1(kDesktopEntryName)) > 0 || changed;
        if (!apps.isEmpty()) kept << key + apps.join(';') + ';';
        changed = changed || apps.isEmpty();
    }
    return !changed || write(path, kept.join('\n').toUtf8());
}

bool FileAssociation::Unregister() {
    error_.clear();
    for (const QString& path : files())
        if (!remove(path)) return false;
    if (!forgetDefault()) return false;
    const bool mimeFolder = QFileInfo(folders_.dataHome + "/mime/packages").isDir();
    const bool applications = QFileInfo(folders_.dataHome + "/applications").isDir();
    return (!mimeFolder || runTool("update-mime-database", {folders_.dataHome + "/mime"})) &&
           (!applications ||
            runTool("update-desktop-database", {folders_.dataHome + "/applications"}));
}

}  // namespace tallyon

namespace tallyon {

namespace {

struct Texts {
    const char* en;
    const char* ja;
};

// clang-format off
constexpr Texts kConfirmRegister = {
    "Calculation document file(*.TYQ) will be registered as a file type of the desktop. This lets you open a Calculation document file from the file manager.",
    "Tallyonの計算文書ファイル(*.TYQ)をデスクトップのファイル種類に登録します．これにより、計算文書ファイルをファイルマネージャ等で開くことが出来るようになります．"};
constexpr Texts kRegistered = {
    "Calculation document file(*.TYQ) has been registered as a file type of the desktop. The change may not take effect until you log in again.",
    "計算文書ファイル(*.TYQ)をデスクトップのファイル種類に登録しました．変更が有効になるのは再ログイン後になる場合があります．"};
constexpr Texts kRegisterFailed = {
    "Calculation document files(*.TYQ) can not be registered as a file type of the desktop. Check that shared-mime-info, desktop-file-utils and xdg-utils are installed and try again.",
    "計算文書ファイル(*.TYQ)をデスクトップのファイル種類に登録できませんでした．shared-mime-info、desktop-file-utils、xdg-utilsがインストールされていることを確認して再試行してください．"};
constexpr Texts kConfirmUnregister = {
    "Calculation document file(*.TYQ) will be unregistered from the file types of the desktop. Notice that this will cause you unable to open a Calculation document from the file manager.",
    "Tallyonの計算文書ファイル(*.TYQ)をデスクトップのファイル種類の登録から抹消します．これにより、計算文書ファイルをファイルマネージャで開いたりすることが出来なくなりますので注意が必要です．"};
constexpr Texts kUnregistered = {
    "Calculation document file(*.TYQ) has been unregistered from the file types of the desktop. The change may not take effect until you log in again.",
    "Tallyon計算文書ファイル(*.TYQ)をデスクトップのファイル種類から削除しました．変更が有効になるのは再ログイン後になる場合があります．"};
constexpr Texts kUnregisterFailed = {
    "Calculation document files(*.TYQ) can not be unregistered from the file types of the desktop. Check that shared-mime-info, desktop-file-utils and xdg-utils are installed and try again.",
    "計算文書ファイル(*.TYQ)をデスクトップのファイル種類から削除できませんでした．shared-mime-info、desktop-file-utils、xdg-utilsがインストールされていることを確認して再試行してください．"};
// clang-format on

QString pick(const Texts& texts, int language) {
    return QString::fromUtf8(IsEnglish(language) ? texts.en : texts.ja);
}

// Confirmation, work and result of one of the two commands.
void runCommand(QWidget* parent, const QString& title, int language, const Texts& confirm,
                const Texts& done, const Texts& failed, bool (FileAssociation::*work)()) {
    Prompts& prompts = Prompts::current();
    if (prompts.ask(parent, title, pick(confirm, language), PromptButton::Ok | PromptButton::Cancel,
                    PromptIcon::Information) != PromptButton::Ok)
        return;
    FileAssociation association(DesktopFolders::fromEnvironment(),
                                QCoreApplication::applicationFilePath());
    if ((association.*work)())
        prompts.tell(parent, title, pick(done, language), PromptIcon::Information);
    else
        prompts.tell(parent, title, pick(failed, language) + "\n\n" + association.error(),
                     PromptIcon::Information);
}

}  // namespace

void RegisterFileType(QWidget* parent, const QString& title, int language) {
    runCommand(parent, title, language, kConfirmRegister, kRegistered, kRegisterFailed,
               &FileAssociation::Register);
}

void UnregisterFileType(QWidget* parent, const QString& title, int language) {
    runCommand(parent, title, language, kConfirmUnregister, kUnregistered, kUnregisterFailed,
               &FileAssociation::Unregister);
}

}  // namespace tallyon
