// Version information read from a program file.
//
// Every program of ours carries a small version table in an ELF section of its own,
// ".tallyon.version": text lines "path=value" in the manner of a version resource, where
// "\VarFileInfo\Translation" lists the translations (each eight hexadecimal digits, the
// language and then the code page) and "\StringFileInfo\<translation>\<key>" holds the
// strings. TVersionInf reads the table from any file, on first need, and fetches strings by
// key or puts them into labels and single-line edits.
#pragma once

#include <QString>
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace tallyon {

// The version table is missing or cannot be read.
class EInOutError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};
// The translation asked for does not exist.
class ERangeError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The version table of the program that is running, as it is stored in its section.
std::string_view OwnVersionTable();

// The contents of the ELF section `name` of the file `path`; nullopt when the file is not an
// ELF file or has no such section. Malformed headers never read outside the file.
std::optional<std::string> ReadElfSection(const std::string& path, std::string_view name);

class TVersionInf {
public:
    TVersionInf() = default;

    QString FileName() const { return fileName_; }
    // Discards what was read; the new file is read on the next request.
    void setFileName(const QString& fileName);
    // Either value also points FileName at the running program.
    void setUseExeName(bool use);
    bool UseExeName() const { return useExeName_; }

    // Optional labels or single-line edits that FillDisplays fills; others are left alone.
    QWidget* DispCompanyName = nullptr;
    QWidget* DispFileDescription = nullptr;
    QWidget* DispFileVersion = nullptr;
    QWidget* DispInternalName = nullptr;
    QWidget* DispLegalCopyright = nullptr;
    QWidget* DispOriginalFilename = nullptr;
    QWidget* DispProductName = nullptr;
    QWidget* DispProductVersion = nullptr;

    // The string `key` ("CompanyName", ...) in the current translation; empty when the table
    // lacks it. Raises EInOutError when the file has no readable table and ERangeError when
    // the table has no translation.
    QString ExtractString(const char* key);
    // Puts every string into its display; with no readable table every display is emptied.
    void FillDisplays();

private:
    bool read();

    QString fileName_;
    bool useExeName_ = false;
    bool succeeded_ = false;
    std::map<std::string, std::string, std::less<>> entries_;
    std::vector<std::uint32_t> translations_;  // language in the low 16 bits, code page high
    std::size_t translationIndex_ = 0;
};

}  // namespace tallyon
