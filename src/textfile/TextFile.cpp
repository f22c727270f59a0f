// Text files: reading with encoding detection, line splitting, and the atomic writer.
//
// The atomic writer resolves a symbolic link to the file it names, writes a temporary file
// beside that file (created exclusively, so two saves never share one), copies the old file's
// permission bits onto it, flushes it to disk, renames it over the target and finally flushes
// the folder so the rename itself survives a crash. Any failure removes the temporary file
// and leaves the target as it was.
#include "textfile/TextFile.h"

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>

#include "textfile/Utf8.h"

namespace tallyon {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr int kMaxSymlinkDepth = 40;

std::string Quoted(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

[[noreturn]] void RaiseReadError(const fs::path& path, std::string_view reason) {
    throw ETextFileError("Cannot read " + Quoted(path) + ": " + std::string(reason));
}

[[noreturn]] void RaiseWriteError(const fs::path& path, std::string_view reason) {
    throw ETextFileError("Cannot write " + Quoted(path) + ": " + std::string(reason));
}

// A conversion descriptor of the C library, closed when it goes out of scope.
class TConverter {
public:
    TConverter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~TConverter() {
        if (ok()) iconv_close(cd_);
    }
    TConverter(const TConverter&) = delete;
    TConverter& operator=(const TConverter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

// Converts Shift-JIS (code page 932) to UTF-8; a byte that does not convert becomes U+FFFD.
std::string Cp932ToUtf8(std::string_view bytes) {
    const TConverter converter("UTF-8", "CP932");
    if (!converter.ok()) return std::string(bytes);
    iconv_t cd = converter.get();
    std::string out;
    out.resize(bytes.size() * 3 + 16);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) break;  // cannot happen: three bytes out per byte in suffice
        // An invalid or truncated sequence: mark it and go on with the next byte.
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (outLeft < 3) break;
        std::memcpy(outPtr, "\xEF\xBF\xBD", 3);
        outPtr += 3;
        outLeft -= 3;
        ++in;
        --inLeft;
    }
    out.resize(out.size() - outLeft);
    return out;
}

// Converts valid UTF-8 to code page 932; nothing when a character has no code there, or only
// one that reads back as another character, or when the bytes would read as UTF-8: a saved
// file always reopens as the same text.
// No character takes more bytes in code page 932 than in UTF-8, so the output fits the
// input's size.
std::optional<std::string> Utf8ToCp932(std::string_view text) {
    if (!IsValidUtf8(text)) return std::nullopt;
    const TConverter converter("CP932", "UTF-8");
    if (!converter.ok()) return std::nullopt;
    std::string out(text.size(), '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    if (iconv(converter.get(), &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
        iconv(converter.get(), nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
        return std::nullopt;
    out.resize(out.size() - outLeft);
    if (DecodeText(out).Text != text) return std::nullopt;
    return out;
}

// The file a path finally names, following symbolic links (also dangling ones).
fs::path ResolveLinks(fs::path path) {
    std::error_code ec;
    for (int depth = 0; depth < kMaxSymlinkDepth && fs::is_symlink(fs::symlink_status(path, ec));
         ++depth) {
        const fs::path link = fs::read_symlink(path, ec);
        if (ec) break;
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
    return path;
}

// Writes all bytes to a descriptor; false with errno set on failure.
bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

TDecodedText DecodeText(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
    if (IsValidUtf8(bytes)) return {std::string(bytes), FileEncoding::Utf8};
    return {Cp932ToUtf8(bytes), FileEncoding::ShiftJis};
}

TDecodedText DecodeText(std::string&& bytes) {
    const std::string_view view = bytes;
    if (!view.starts_with(kUtf8Bom) && IsValidUtf8(view))
        return {std::move(bytes), FileEncoding::Utf8};
    return DecodeText(view);
}

TDecodedText ReadEncodedTextFile(const fs::path& path) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) RaiseReadError(path, "it is a folder");
    std::ifstream in(path, std::ios::binary);
    if (!in) RaiseReadError(path, std::strerror(errno));
    // Read in large blocks: a character at a time through a stream iterator costs more than
    // everything else a short document's calculation does with its bytes.
    std::string bytes;
    // A regular file's size is known: one allocation holds it and the final empty read.
    constexpr std::uintmax_t kMaxReserve = std::uintmax_t{1} << 30;
    if (const auto size = fs::file_size(path, ec); !ec && size < kMaxReserve)
        bytes.reserve(static_cast<std::size_t>(size) + 1);
    constexpr std::size_t kBlock = std::size_t{1} << 16;
    for (;;) {
        const std::size_t size = bytes.size();
        const std::size_t room = bytes.capacity() > size ? bytes.capacity() - size : kBlock;
        bytes.resize(size + room);
        in.read(bytes.data() + size, static_cast<std::streamsize>(room));
        bytes.resize(size + static_cast<std::size_t>(in.gcount()));
        if (!in) break;
    }
    if (in.bad()) RaiseReadError(path, "read error");
    return DecodeText(std::move(bytes));
}

std::string ReadTextFile(const fs::path& path) {
    return ReadEncodedTextFile(path).Text;
}

std::optional<std::string> EncodeText(std::string_view text, FileEncoding encoding) {
    if (encoding == FileEncoding::ShiftJis) return Utf8ToCp932(text);
    return std::string(text);
}

FileEncoding WriteTextFile(const fs::path& path, std::string_view text, FileEncoding encoding) {
    if (const std::optional<std::string> bytes = EncodeText(text, encoding)) {
        WriteFileAtomically(path, *bytes);
        return encoding;
    }
    WriteFileAtomically(path, text);
    return FileEncoding::Utf8;
}

std::size_t CountLinesByFeeds(std::string_view text) {
    // A plain loop the compiler vectorizes; std::count over the view's iterators is not.
    std::size_t feeds = 0;
    const char* const bytes = text.data();
    for (std::size_t i = 0; i < text.size(); ++i)
        feeds += bytes[i] == '\n' ? 1 : 0;
    return feeds + 1;
}

std::vector<std::string> SplitTextLines(std::string_view text) {
    std::vector<std::string> lines;
    lines.reserve(CountLinesByFeeds(text));
    ForEachTextLine(text, [&](std::size_t offset, std::size_t length) {
        lines.emplace_back(text.substr(offset, length));
    });
    return lines;
}

void WriteFileAtomically(const fs::path& path, std::string_view bytes) {
    const fs::path target = ResolveLinks(path);
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    if (fs::is_directory(status)) RaiseWriteError(path, "it is a folder");
    const bool exists = fs::exists(status);
    // Renaming over a device or a pipe would replace the special file itself.
    if (exists && !fs::is_regular_file(status)) RaiseWriteError(path, "it is not a regular file");

    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::string stem(1, '.');
    stem.append(target.filename().string()).append(".tmp");
    fs::path temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = folder / (stem + std::to_string(::getpid()) + "-" + std::to_string(attempt));
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) RaiseWriteError(path, std::strerror(errno));
    }
    if (fd < 0) RaiseWriteError(path, "no temporary file name is free");

    const auto fail = [&](int error) {
        ::close(fd);
        ::unlink(temporary.c_str());
        RaiseWriteError(path, std::strerror(error));
    };
    if (exists) {
        struct stat old {};
        if (::stat(target.c_str(), &old) == 0) {
            ::fchmod(fd, old.st_mode & 07777);
            // Keeping the owner is possible only for a privileged user; otherwise it stays ours.
            if (::fchown(fd, old.st_uid, old.st_gid) != 0) errno = 0;
        }
    }
    if (!WriteAll(fd, bytes)) fail(errno);
    if (::fsync(fd) != 0) fail(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        RaiseWriteError(path, std::strerror(error));
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        RaiseWriteError(path, std::strerror(error));
    }
    // Flush the folder so the new name is on disk too; a failure here loses nothing.
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

}  // namespace tallyon
