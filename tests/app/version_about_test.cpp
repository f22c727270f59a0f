// The version table read back from program files, the About box that shows it, and the Help
// menu's two addresses.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QUrl>
#include <cstring>

#include "app/About.h"
#include "app/HelpCommands.h"
#include "app/VersionInf.h"
#include "app/WindowFixture.h"

namespace tallyon {
namespace {

// A little-endian 64-bit ELF file holding only a section-name table and the sections given,
// for files whose version table is damaged or incomplete.
QByteArray elfWith(const std::vector<std::pair<std::string, std::string>>& sections) {
    std::string names(1, '\0');
    std::vector<std::uint32_t> nameAt;
    for (const auto& s : sections) {
        nameAt.push_back(std::uint32_t(names.size()));
        names += s.first + '\0';
    }
    const std::uint32_t shstrtabName = std::uint32_t(names.size());
    names += std::string(".shstrtab") + '\0';

    std::string data;  // section contents, after the 64-byte header
    std::vector<std::uint64_t> offsets;
    for (const auto& s : sections) {
        offsets.push_back(64 + data.size());
        data += s.second;
    }
    const std::uint64_t namesOffset = 64 + data.size();
    data += names;
    const std::uint64_t table = 64 + data.size();

    auto put = [](std::string& out, std::uint64_t value, int width) {
        for (int i = 0; i < width; ++i)
            out += char((value >> (8 * i)) & 0xFF);
    };
    auto header = [&](std::string& out, std::uint32_t name, std::uint32_t type,
                      std::uint64_t offset, std::uint64_t size) {
        put(out, name, 4);
        put(out, type, 4);
        put(out, 0, 8);  // flags
        put(out, 0, 8);  // address
        put(out, offset, 8);
        put(out, size, 8);
        put(out, 0, 4);  // link
        put(out, 0, 4);  // info
        put(out, 1, 8);  // alignment
        put(out, 0, 8);  // entry size
    };
    const std::uint16_t count = std::uint16_t(sections.size() + 2);
    std::string file =
        "\x7f"
        "ELF";
    file += std::string{2, 1, 1, 0};
    file += std::string(8, '\0');
    put(file, 2, 2);   // executable
    put(file, 62, 2);  // x86-64
    put(file, 1, 4);   // version
    put(file, 0, 8);   // entry
    put(file, 0, 8);   // program headers
    put(file, table, 8);
    put(file, 0, 4);   // flags
    put(file, 64, 2);  // header size
    put(file, 56, 2);  // program header entry size
    put(file, 0, 2);
    put(file, 64, 2);  // section header entry size
    put(file, count, 2);
    put(file, count - 1, 2);  // the names are the last section
    file += data;
    header(file, 0, 0, 0, 0);
    for (std::size_t i = 0; i < sections.size(); ++i)
        header(file, nameAt[i], 1, offsets[i], sections[i].second.size());
    header(file, shstrtabName, 3, namesOffset, names.size());
    return QByteArray(file.data(), qsizetype(file.size()));
}

class VersionTest : public WindowFixture {
protected:
    QString writeFile(const char* name, const QByteArray& contents) {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
        return path;
    }
};

TEST_F(VersionTest, ReadsTheTableOfItsOwnProgramFile) {
    TVersionInf info;
    info.setUseExeName(false);
    EXPECT_EQ(info.FileName(), QCoreApplication::applicationFilePath());
    EXPECT_EQ(info.ExtractString("CompanyName"), "Ruvo");
    EXPECT_EQ(info.ExtractString("ProductName"), "Tallyon");
    EXPECT_FALSE(info.ExtractString("FileVersion").isEmpty());
    EXPECT_EQ(info.ExtractString("FileVersion"), info.ExtractString("ProductVersion"));
    EXPECT_EQ(info.ExtractString("NoSuchKey"), "");
    // What the file holds is what the program carries.
    const auto table =
        ReadElfSection(QFile::encodeName(info.FileName()).toStdString(), ".tallyon.version");
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(*table, std::string(OwnVersionTable()) + '\0');
}

struct BrokenFile {
    const char* name;
    QByteArray contents;
    const char* error;
};

TEST_F(VersionTest, FilesWithoutAUsableTableFailWithTheirMessage) {
    const std::string table = "\\StringFileInfo\\0411FDE9\\CompanyName=Ruvo\n";
    const BrokenFile files[] = {
        {"text", "not a program",
         "TVersionInf.ExtractString: Cannot read a file version information"},
        {"empty", "", "TVersionInf.ExtractString: Cannot read a file version information"},
        {"truncated", elfWith({{".tallyon.version", table}}).left(70),
         "TVersionInf.ExtractString: Cannot read a file version information"},
        {"other-sections", elfWith({{".text", "code"}}),
         "TVersionInf.ExtractString: Cannot read a file version information"},
        {"no-translation", elfWith({{".tallyon.version", table}}),
         "TVersionInf.ExtractString: Index is out of range"},
        {"bad-translation",
         elfWith({{".tallyon.version", "\\VarFileInfo\\Translation=04X1FDE9\n" + table}}),
         "TVersionInf.ExtractString: Index is out of range"},
    };
    for (const BrokenFile& f : files) {
        SCOPED_TRACE(f.name);
        TVersionInf info;
        info.setFileName(writeFile(f.name, f.contents));
        try {
            info.ExtractString("CompanyName");
            ADD_FAILURE() << "no error";
        } catch (const std::exception& e) {
            EXPECT_STREQ(e.what(), f.error);
        }
    }
    TVersionInf missing;
    missing.setFileName(folder.filePath("missing"));
    EXPECT_THROW(missing.ExtractString("CompanyName"), EInOutError);
}

TEST_F(VersionTest, HeadersPointingOutsideTheFileReadNothing) {
    QByteArray file = elfWith({{".tallyon.version", "x"}});
    // The section table's offset, then the names' section header's offset field.
    QByteArray farTable = file;
    farTable[0x28 + 4] = char(0x7f);
    QByteArray farSection = file;
    const qsizetype table = qsizetype(static_cast<unsigned char>(file[0x28])) |
                            qsizetype(static_cast<unsigned char>(file[0x29])) << 8;
    farSection[table + 64 + 0x18 + 6] = char(0x7f);  // the version section's offset
    for (const QByteArray& damaged : {farTable, farSection}) {
        EXPECT_FALSE(ReadElfSection(QFile::encodeName(writeFile("damaged", damaged)).toStdString(),
                                    ".tallyon.version"));
    }
    EXPECT_EQ(ReadElfSection(QFile::encodeName(writeFile("whole", file)).toStdString(),
                             ".tallyon.version"),
              std::optional<std::string>("x"));
}

TEST_F(VersionTest, FillingShowsTheStringsOfTheCurrentFile) {
    const std::string translated = "\\VarFileInfo\\Translation=04090000 0411FDE9\n";
    const QString other = writeFile(
        "other", elfWith({{".tallyon.version",
                           translated + "\\StringFileInfo\\04090000\\FileVersion=9.8\n"}}));
    QLabel company, version;
    QLineEdit copyright;
    QWidget unrelated;
    TVersionInf info;
    info.DispCompanyName = &company;
    info.DispFileVersion = &version;
    info.DispLegalCopyright = &copyright;
    info.DispProductName = &unrelated;
    info.setUseExeName(true);
    info.FillDisplays();
    EXPECT_EQ(company.text(), "Ruvo");
    EXPECT_FALSE(copyright.text().isEmpty());
    // The first translation counts; a missing company is an empty row.
    info.setFileName(other);
    info.FillDisplays();
    EXPECT_EQ(company.text(), "");
    EXPECT_EQ(version.text(), "9.8");
    EXPECT_EQ(copyright.text(), "");
    // No table at all: every display is emptied, nothing is reported.
    info.setFileName(writeFile("plain", "text"));
    info.FillDisplays();
    EXPECT_EQ(version.text(), "");
    EXPECT_TRUE(prompts.asked.empty());
}

TEST_F(VersionTest, AboutBoxShowsTheProgramsVersion) {
    start();
    QString title, company, copyright, version;
    QSize size;
    prompts.dialogs.push_back([&](QDialog& dialog) {
        auto& about = static_cast<TFrmAbout&>(dialog);
        title = about.windowTitle();
        company = about.LblCompanyName->text();
        copyright = about.LblLegalCopyright->text();
        version = about.LblFileVersion->text();
        size = about.size();
        return true;
    });
    window->action("AtnHelpAbout")->trigger();
    EXPECT_EQ(title, "About Tallyot");
    EXPECT_EQ(company, "Ruvo");
    EXPECT_FALSE(copyright.isEmpty());
    EXPECT_FALSE(version.isEmpty());
    EXPECT_EQ(size, QSize(293, 150));
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].kind, ScriptedPrompts::Kind::Dialog);
}

TEST_F(VersionTest, AboutBoxReportsATableWithoutTranslationAndOpensEmpty) {
    EnsureWindowApplication();
    const QString file =
        writeFile("untranslated",
                  elfWith({{".tallyon.version", "\\StringFileInfo\\0411FDE9\\CompanyName=X\n"}}));
    TFrmAbout about(nullptr, file);
    EXPECT_EQ(prompts.messages(), QStringList{"TVersionInf.ExtractString: Index is out of range"});
    EXPECT_EQ(about.LblCompanyName->text(), "");
    EXPECT_EQ(about.LblFileVersion->text(), "");
}

// ---- help ------------------------------------------------------------------------------

TEST_F(VersionTest, HelpOpensTheDocumentBesideTheProgramWhateverTheLanguage) {
    start();
    for (int language : {1, 2}) {
        window->settingsRecord().Language = language;
        window->action("AtnHelpIndex")->trigger();
    }
    window->action("AtnHelpRuvoHomePage")->trigger();
    ASSERT_EQ(prompts.asked.size(), 3u);
    const QUrl help = QUrl::fromLocalFile(HelpDocumentPath(QCoreApplication::applicationDirPath()));
    for (int i : {0, 1}) {
        EXPECT_EQ(prompts.asked[i].kind, ScriptedPrompts::Kind::OpenExternal);
        EXPECT_EQ(prompts.asked[i].text, help.toString());
    }
    EXPECT_TRUE(help.toLocalFile().endsWith("/Tallyon_J.html"));
    EXPECT_EQ(prompts.asked[2].text, MakerHomePage().toString());
    EXPECT_TRUE(MakerHomePage().isValid());
    EXPECT_EQ(MakerHomePage().scheme(), "https");
}

TEST_F(VersionTest, HelpDocumentIsFoundBesideTheProgramOrInItsDataFolder) {
    QDir(folder.path()).mkpath("bin");
    QDir(folder.path()).mkpath("share/tallyon");
    const QString bin = folder.filePath("bin");
    EXPECT_EQ(HelpDocumentPath(bin), bin + "/Tallyon_J.html");  // neither: beside the program
    writeFile("share/tallyon/Tallyon_J.html", "<html/>");
    EXPECT_EQ(HelpDocumentPath(bin), folder.filePath("share/tallyon/Tallyon_J.html"));
    writeFile("bin/Tallyon_J.html", "<html/>");
    EXPECT_EQ(HelpDocumentPath(bin), bin + "/Tallyon_J.html");
}

// The build puts the help document beside the programs it builds.
TEST_F(VersionTest, BuildShipsTheHelpDocument) {
    QFile help(HelpDocumentPath(QCoreApplication::applicationDirPath() + "/../../bin"));
    ASSERT_TRUE(help.open(QIODevice::ReadOnly)) << help.fileName().toStdString();
    const QString html = QString::fromUtf8(help.readAll());
    for (const char* needed : {"ARCTANHD", "_RND", "_VM", "IF(", "Engineering", "Ctrl+Return"})
        EXPECT_TRUE(html.contains(QLatin1StringView(needed))) << needed;
}

}  // namespace
}  // namespace tallyon
