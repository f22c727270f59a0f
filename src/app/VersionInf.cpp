// The version table and its reader (see VersionInf.h).
#include "app/VersionInf.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <optional>

#ifndef TALLYON_VERSION
#define TALLYON_VERSION "0.0.0"
#endif

namespace tallyon {

namespace {

constexpr char kSectionName[] = ".tallyon.version";

// The table of this program. `used` keeps it even though only the file refers to it.
__attribute__((section(".tallyon.version"), used)) const char kVersionTable[] =
    "\\VarFileInfo\\Translation=0411FDE9\n"
    "\\StringFileInfo\\0411FDE9\\CompanyName=Ruvo\n"
    "\\StringFileInfo\\0411FDE9\\FileDescription=Tallyon calculation document editor\n"
    "\\StringFileInfo\\0411FDE9\\FileVersion=" TALLYON_VERSION
    "\n"
    "\\StringFileInfo\\0411FDE9\\InternalName=Tallyon\n"
    "\\StringFileInfo\\0411FDE9\\LegalCopyright=2026 Ruvo\n"
    "\\StringFileInfo\\0411FDE9\\OriginalFilename=tallyon\n"
    "\\StringFileInfo\\0411FDE9\\ProductName=Tallyon\n"
    "\\StringFileInfo\\0411FDE9\\ProductVersion=" TALLYON_VERSION "\n";

// Limits that keep a damaged or hostile file from making the reader allocate much.
constexpr std::uint64_t kMaxSections = 4096;
constexpr std::uint64_t kMaxSectionNames = 1 << 20;
constexpr std::uint64_t kMaxTable = 1 << 16;

// Reads fixed-size fields of one byte order from an open file, checking every range against
// the file's size.
class ElfFile {
public:
    explicit ElfFile(const std::string& path) : in_(path, std::ios::binary) {
        if (!in_) return;
        in_.seekg(0, std::ios::end);
        size_ = static_cast<std::uint64_t>(in_.tellg());
    }
    bool good() const { return bool(in_); }
    void setBigEndian(bool big) { big_ = big; }

    bool bytes(std::uint64_t offset, std::uint64_t count, std::string& out) {
        if (offset > size_ || count > size_ - offset) return false;
        out.assign(count, '\0');
        in_.seekg(static_cast<std::streamoff>(offset));
        in_.read(out.data(), static_cast<std::streamsize>(count));
        return bool(in_);
    }
    // An unsigned field of `width` bytes (1, 2, 4 or 8).
    std::optional<std::uint64_t> field(std::uint64_t offset, int width) {
        std::string raw;
        if (!bytes(offset, std::uint64_t(width), raw)) return std::nullopt;
        std::uint64_t value = 0;
        for (int i = 0; i < width; ++i) {
            const auto byte = static_cast<unsigned char>(raw[big_ ? i : width - 1 - i]);
            value = value << 8 | byte;
        }
        return value;
    }

private:
    std::ifstream in_;
    std::uint64_t size_ = 0;
    bool big_ = false;
};

void setDisplay(QWidget* display, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(display))
        label->setText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(display))
        edit->setText(text);
}

std::optional<std::uint32_t> parseTranslation(std::string_view hex) {
    if (hex.size() != 8) return std::nullopt;
    std::uint32_t language = 0, codePage = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        const char c = hex[i];
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (digit < 0) return std::nullopt;
        std::uint32_t& part = i < 4 ? language : codePage;
        part = part << 4 | std::uint32_t(digit);
    }
    return language | codePage << 16;
}

}  // namespace

std::string_view OwnVersionTable() {
    return kVersionTable;
}

std::optional<std::string> ReadElfSection(const std::string& path, std::string_view name) {
    ElfFile file(path);
    if (!file.good()) return std::nullopt;
    std::string ident;
    if (!file.bytes(0, 16, ident) || ident.compare(0, 4,
                                                   "\x7f"
                                                   "ELF") != 0)
        return std::nullopt;
    const bool wide = ident[4] == 2;
    if (ident[4] != 1 && !wide) return std::nullopt;
    if (ident[5] != 1 && ident[5] != 2) return std::nullopt;
    file.setBigEndian(ident[5] == 2);

    // Header fields: offsets and widths for the 32-bit and the 64-bit layout.
    const int word = wide ? 8 : 4;
    const auto sectionTable = file.field(wide ? 0x28 : 0x20, word);
    const auto entrySize = file.field(wide ? 0x3A : 0x2E, 2);
    const auto count = file.field(wide ? 0x3C : 0x30, 2);
    const auto namesIndex = file.field(wide ? 0x3E : 0x32, 2);
    if (!sectionTable || !entrySize || !count || !namesIndex) return std::nullopt;
    if (*count == 0 || *count > kMaxSections || *namesIndex >= *count) return std::nullopt;
    if (*entrySize < std::uint64_t(wide ? 0x40 : 0x28)) return std::nullopt;

    struct Section {
        std::uint64_t name = 0, type = 0, offset = 0, size = 0;
    };
    auto section = [&](std::uint64_t index) -> std::optional<Section> {
        const std::uint64_t at = *sectionTable + index * *entrySize;
        const auto nameAt = file.field(at, 4);
        const auto type = file.field(at + 4, 4);
        const auto offset = file.field(at + (wide ? 0x18 : 0x10), word);
        const auto size = file.field(at + (wide ? 0x20 : 0x14), word);
        if (!nameAt || !type || !offset || !size) return std::nullopt;
        return Section{*nameAt, *type, *offset, *size};
    };
    constexpr std::uint64_t kNoBits = 8;  // a section that occupies no space in the file

    const auto names = section(*namesIndex);
    if (!names || names->size > kMaxSectionNames) return std::nullopt;
    std::string nameTable;
    if (!file.bytes(names->offset, names->size, nameTable)) return std::nullopt;
    for (std::uint64_t i = 0; i < *count; ++i) {
        const auto s = section(i);
        if (!s) return std::nullopt;
        if (s->name >= nameTable.size()) continue;
        if (std::strncmp(nameTable.c_str() + s->name, name.data(), name.size()) != 0 ||
            nameTable[s->name + name.size()] != '\0' || s->type == kNoBits)
            continue;
        if (s->size > kMaxTable) return std::nullopt;
        std::string contents;
        if (!file.bytes(s->offset, s->size, contents)) return std::nullopt;
        return contents;
    }
    return std::nullopt;
}

void TVersionInf::setFileName(const QString& fileName) {
    fileName_ = fileName;
    succeeded_ = false;
    entries_.clear();
    translations_.clear();
    translationIndex_ = 0;
}

void TVersionInf::setUseExeName(bool use) {
    useExeName_ = use;
    setFileName(QCoreApplication::applicationFilePath());
}

bool TVersionInf::read() {
    setFileName(fileName_);
    if (!QFileInfo(fileName_).isFile()) return false;
    const std::optional<std::string> table =
        ReadElfSection(QFile::encodeName(fileName_).toStdString(), kSectionName);
    if (!table) return false;
    succeeded_ = true;
    std::string_view rest(*table);
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        entries_.emplace(line.substr(0, equals), line.substr(equals + 1));
    }
    if (auto t = entries_.find("\\VarFileInfo\\Translation"); t != entries_.end()) {
        std::string_view list(t->second);
        while (!list.empty()) {
            const std::size_t end = std::min(list.find(' '), list.size());
            if (auto entry = parseTranslation(list.substr(0, end))) translations_.push_back(*entry);
            list.remove_prefix(std::min(end + 1, list.size()));
        }
    }
    return true;
}

QString TVersionInf::ExtractString(const char* key) {
    if (!succeeded_ && !read())
        throw EInOutError("TVersionInf.ExtractString: Cannot read a file version information");
    if (translationIndex_ >= translations_.size())
        throw ERangeError("TVersionInf.ExtractString: Index is out of range");
    const std::uint32_t t = translations_[translationIndex_];
    const QString translation = QStringLiteral("%1%2")
                                    .arg(t & 0xFFFF, 4, 16, QChar('0'))
                                    .arg(t >> 16, 4, 16, QChar('0'))
                                    .toUpper();
    const QString path =
        QStringLiteral("\\StringFileInfo\\%1\\%2").arg(translation, QString::fromLatin1(key));
    const auto found = entries_.find(path.toStdString());
    return found == entries_.end() ? QString() : QString::fromStdString(found->second);
}

void TVersionInf::FillDisplays() {
    const std::pair<QWidget*, const char*> displays[] = {
        {DispCompanyName, "CompanyName"},       {DispFileDescription, "FileDescription"},
        {DispFileVersion, "FileVersion"},       {DispInternalName, "InternalName"},
        {DispLegalCopyright, "LegalCopyright"}, {DispOriginalFilename, "OriginalFilename"},
        {DispProductName, "ProductName"},       {DispProductVersion, "ProductVersion"},
    };
    const bool readable = succeeded_ || read();
    for (const auto& [display, key] : displays)
        if (display) setDisplay(display, readable ? ExtractString(key) : QString());
}

}  // namespace tallyon
