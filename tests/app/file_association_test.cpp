// The file-type association in a private pair of desktop folders: registering makes the
// desktop's own tools resolve "*.tyq" to our type and our type to this program; removing
// leaves nothing of ours behind. The desktop's tools are required.
#include <QDirIterator>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

#include "app/FileAssociation.h"
#include "app/WindowFixture.h"

namespace tallyon {
namespace {

class FileAssociationTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        for (const char* tool : {"update-mime-database", "update-desktop-database", "xdg-mime"})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                GTEST_SKIP() << tool << " is not installed";
        // The type database looks in the desktop's folders, not the test-mode ones.
        QStandardPaths::setTestModeEnabled(false);
        desktop = {folder.filePath("data"), folder.filePath("config")};
        qputenv("XDG_DATA_HOME", desktop.dataHome.toUtf8());
        qputenv("XDG_CONFIG_HOME", desktop.configHome.toUtf8());
    }

    QString query(const QStringList& arguments) {
        QProcess xdg;
        xdg.start("xdg-mime", QStringList{"query"} + arguments);
        xdg.waitForFinished();
        return QString::fromUtf8(xdg.readAllStandardOutput()).trimmed();
    }
    // Every file under the two folders that is named after us or mentions our type.
    QStringList traces() {
        QStringList found;
        for (const QString& root : {desktop.dataHome, desktop.configHome}) {
            QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                QFile file(it.next());
                file.open(QIODevice::ReadOnly);
                const QByteArray contents = file.readAll();
                if (it.fileName().startsWith("tallyon") || contents.contains("x-tallyon") ||
                    contents.contains("tallyon.desktop"))
                    found << it.filePath();
            }
        }
        return found;
    }

    DesktopFolders desktop;
};

TEST_F(FileAssociationTest, RegisterResolvesAndUnregisterLeavesNothing) {
    // Another program's default stays when ours goes.
    QDir().mkpath(desktop.configHome);
    QFile list(desktop.configHome + "/mimeapps.list");
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("[Default Applications]\ntext/plain=editor.desktop;\n");
    list.close();

    FileAssociation association(desktop, "/opt/Tallyon Calc/tallyon");
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(association.Register()) << association.error().toStdString();
    for (const QString& file : association.files())
        EXPECT_TRUE(QFile::exists(file)) << file.toStdString();
    EXPECT_EQ(query({"default", kDocumentMimeType}), kDesktopEntryName);
    const QMimeType type =
        QMimeDatabase().mimeTypeForFile("sum.tyq", QMimeDatabase::MatchExtension);
    EXPECT_EQ(type.name(), kDocumentMimeType);
    EXPECT_TRUE(type.inherits("text/plain"));
    EXPECT_EQ(type.comment(), QString::fromUtf8("Tallyon計算文書ファイル"));
    // The desktop's cache maps the type to our entry.
    QFile cache(desktop.dataHome + "/applications/mimeinfo.cache");
    ASSERT_TRUE(cache.open(QIODevice::ReadOnly));
    EXPECT_TRUE(cache.readAll().contains("application/x-tallyon=tallyon.desktop;"));

    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(association.Unregister()) << association.error().toStdString();
    EXPECT_EQ(traces(), QStringList{});
    EXPECT_EQ(query({"default", kDocumentMimeType}), "");
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_EQ(list.readAll(), "[Default Applications]\ntext/plain=editor.desktop;\n");
}

TEST_F(FileAssociationTest, AFolderThatCannotBeCreatedFailsAndSaysWhere) {
    // A file where the data folder should be: no right to create it, even for root.
    QFile blocker(folder.filePath("blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    FileAssociation association({folder.filePath("blocked/data"), desktop.configHome},
                                "/usr/bin/tallyon");
    EXPECT_FALSE(association.Register());
    EXPECT_TRUE(association.error().contains("blocked/data/mime/packages/tallyon.xml"));
}

TEST_F(FileAssociationTest, CommandsConfirmThenReportInTheChosenLanguage) {
    start();
    window->settingsRecord().Language = 2;
    // Cancelled: nothing is written.
    window->action("AtnOptionRegistry")->trigger();
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].buttons, PromptButton::Ok | PromptButton::Cancel);
    EXPECT_TRUE(prompts.asked[0].text.startsWith(QString::fromUtf8(
        "Tallyonの計算文書ファイル(*.TYQ)をデスクトップのファイル種類に登録します")));
    EXPECT_EQ(traces(), QStringList{});

    window->settingsRecord().Language = 1;
    prompts.asked.clear();
    prompts.answers = {PromptButton::Ok, PromptButton::Ok};
    window->action("AtnOptionRegistry")->trigger();
    window->action("AtnOptionDelRegistry")->trigger();
    ASSERT_EQ(prompts.messages().size(), 2);
    EXPECT_TRUE(prompts.messages()[0].startsWith(
        "Calculation document file(*.TYQ) has been registered as a file type of the desktop."));
    EXPECT_TRUE(
        prompts.messages()[1].startsWith("Calculation document file(*.TYQ) has been unregistered "
                                         "from the file types of the desktop."));
    EXPECT_EQ(traces(), QStringList{});
}

struct ExecCase {
    const char* path;
    const char* exec;
};

TEST(DesktopExecArgument, QuotesAndEscapesWhatTheExecKeyReserves) {
    const ExecCase cases[] = {
        {"/usr/bin/tallyon", "/usr/bin/tallyon"},
        {"/opt/My Apps/tallyon", "\"/opt/My Apps/tallyon\""},
        {"/opt/a\"b/tallyon", "\"/opt/a\\\\\"b/tallyon\""},
        {"/opt/$HOME/tallyon", "\"/opt/\\\\$HOME/tallyon\""},
        {"/opt/a\\b/tallyon", "\"/opt/a\\\\\\\\b/tallyon\""},
        {"/opt/100%/tallyon", "/opt/100%%/tallyon"},
        {"/opt/it's/tallyon", "\"/opt/it's/tallyon\""},
    };
    for (const ExecCase& c : cases)
        EXPECT_EQ(DesktopExecArgument(c.path), c.exec) << c.path;
}

// The entry the association writes is one the desktop accepts.
TEST_F(FileAssociationTest, DesktopEntryValidates) {
    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    if (validator.isEmpty()) GTEST_SKIP() << "desktop-file-validate is not installed";
    const QString path = folder.filePath("tallyon.desktop");
    QFile entry(path);
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.write(DesktopEntryText("/opt/My \"Apps\"/tallyon").toUtf8());
    entry.close();
    QProcess check;
    check.setProcessChannelMode(QProcess::MergedChannels);
    check.start(validator, {path});
    check.waitForFinished();
    EXPECT_EQ(check.exitCode(), 0) << check.readAll().toStdString();
}

}  // namespace
}  // namespace tallyon
