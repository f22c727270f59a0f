// A fresh folder below the system's temporary folder, removed with everything in it when the
// test ends.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <string_view>

namespace tallyon {

class TTempFolder {
public:
    TTempFolder() {
        std::random_device random;
        Path_ = std::filesystem::temp_directory_path() /
                ("tallyon-test-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
        std::filesystem::create_directories(Path_);
    }
    ~TTempFolder() {
        std::error_code ec;
        std::filesystem::permissions(Path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(Path_, ec);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::filesystem::path& Path() const { return Path_; }
    std::filesystem::path operator/(std::string_view name) const { return Path_ / name; }

    // Writes bytes to a file in the folder and returns its path.
    std::filesystem::path Write(std::string_view name, std::string_view bytes) const {
        const std::filesystem::path path = Path_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static std::string Read(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // Names of the entries in the folder (to check that no temporary file is left).
    std::size_t EntryCount() const {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(Path_))
            ++count;
        return count;
    }

private:
    std::filesystem::path Path_;
};

// Runs `action` in a child process that first gives up any privileges (becoming the
// conventional unprivileged user, id 65534), so that file permissions bind it even when the
// tests run privileged. Returns 0 when the action returned true, 1 when it returned false,
// and another value when it raised or the child could not drop its privileges.
inline int RunUnprivileged(const std::function<bool()>& action) {
    constexpr uid_t kNobody = 65534;
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) ::_exit(3);
        bool result = false;
        try {
            result = action();
        } catch (...) {
            ::_exit(2);
        }
        ::_exit(result ? 0 : 1);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace tallyon
