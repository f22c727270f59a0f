// Making the desktop open calculation documents (".tyq") with this program, for the current
// user and without administrator rights, the freedesktop way: a shared-mime-info type for
// "*.tyq" (a kind of plain text), a desktop entry that opens a document given as its single
// argument, the program's icon, the desktop's caches refreshed with update-mime-database and
// update-desktop-database, and the program made the type's default with xdg-mime. Removing
// the association deletes what was written and refreshes the caches again.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace tallyon {

// The document type and the names of what the association writes.
inline constexpr char kDocumentMimeType[] = "application/x-tallyon";
inline constexpr char kDesktopEntryName[] = "tallyon.desktop";
inline constexpr char kIconName[] = "tallyon";

// The user's data and configuration folders, as the desktop's tools find them.
struct DesktopFolders {
    QString dataHome;    // XDG_DATA_HOME, else ~/.local/share
    QString configHome;  // XDG_CONFIG_HOME, else ~/.config
    static DesktopFolders fromEnvironment();
};

// `path` as one argument of a desktop entry's Exec key, quoted and escaped where needed.
QString DesktopExecArgument(const QString& path);
// The shared-mime-info description of the document type.
QString MimeTypeXml();
// The desktop entry that opens documents with `programPath`.
QString DesktopEntryText(const QString& programPath);

class FileAssociation {
public:
    FileAssociation(DesktopFolders folders, QString programPath);

    // Each returns false after the first step that failed; error() says which and why.
    // Registering again writes the same files again; removing what does not exist succeeds.
    bool Register();
    bool Unregister();
    QString error() const { return error_; }

    // Every file Register() writes.
    QStringList files() const;

private:
    bool write(const QString& path, const QByteArray& contents);
    bool remove(const QString& path);
    bool runTool(const QString& tool, const QStringList& arguments);
    bool forgetDefault();

    DesktopFolders folders_;
    QString programPath_;
    QString error_;
};

// The Options menu's two commands: confirmation, the work and its result in the language
// `language`, every message through the prompts.
void RegisterFileType(QWidget* parent, const QString& title, int language);
void UnregisterFileType(QWidget* parent, const QString& title, int language);

}  // namespace tallyon
