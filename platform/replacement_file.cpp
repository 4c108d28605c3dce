#include "replacement_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <system_error>

namespace {

[[noreturn]] void Fail(const std::string& what, const std::filesystem::path& path, int error) {
    throw FileWriteError(what + " " + path.string() + ": " + std::strerror(error));
}

// The file a path names: a symbolic link is followed (to a depth the
// system itself would follow), so that the link stays and its file is
// replaced. A link that cannot be read is taken as the file.
std::filesystem::path FollowLinks(std::filesystem::path path) {
    constexpr int kMaxLinks = 40;
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        std::error_code error;
        if (!std::filesystem::is_symlink(path, error)) break;
        std::filesystem::path next = std::filesystem::read_symlink(path, error);
        if (error) break;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return path;
}

// The longest name the folder takes for one of its files.
std::size_t NameLimit(const std::filesystem::path& folder) {
    const long limit = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : NAME_MAX;
}

// "." + the file's name + "." + the process id + "-" + the serial + ".tmp",
// with the name given as a hash of it when the whole would not fit the
// folder's limit.
std::string ReplacementName(const std::filesystem::path& target, unsigned serial) {
    // Appended piece by piece: "." + string trips a false -Wrestrict in GCC 12.
    std::string suffix(1, '.');
    suffix += std::to_string(::getpid());
    suffix += '-';
    suffix += std::to_string(serial);
    suffix += ".tmp";
    std::string stem = target.filename().string();
    if (1 + stem.size() + suffix.size() > NameLimit(target.parent_path())) {
        char hash[24];
        std::snprintf(hash, sizeof hash, "%016zx", std::hash<std::string>{}(stem));
        stem = hash;
    }
    std::string name(1, '.');
    name += stem;
    name += suffix;
    return name;
}

// The new file beside the one it will replace; removed unless Commit ran.
class ReplacementFile {
public:
    explicit ReplacementFile(const std::filesystem::path& target) : target_(target) {
        static std::atomic<unsigned> serial{0};
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = target;
            path_.replace_filename(ReplacementName(target, serial++));
            // 0666 less the umask, as a file made in place would get.
            fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ >= 0 || errno != EEXIST) break;
        }
        if (fd_ < 0) Fail("cannot create a file beside", target, errno);
        struct stat old{};
        if (::stat(target.c_str(), &old) == 0) ::fchmod(fd_, old.st_mode & 07777);
    }
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;
    ~ReplacementFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!committed_) ::unlink(path_.c_str());
    }

    void Write(std::span<const std::uint8_t> bytes) {
        const std::uint8_t* next = bytes.data();
        std::size_t left = bytes.size();
        while (left > 0) {
            ssize_t written = ::write(fd_, next, left);
            if (written < 0) {
                if (errno == EINTR) continue;
                Fail("cannot write", target_, errno);
            }
            next += written;
            left -= static_cast<std::size_t>(written);
        }
    }

    // Flushes the new file to the disk, then puts it in the old one's place.
    void Commit() {
        if (::fsync(fd_) != 0) Fail("cannot flush", target_, errno);
        int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) Fail("cannot write", target_, errno);
        if (::rename(path_.c_str(), target_.c_str()) != 0) Fail("cannot replace", target_, errno);
        committed_ = true;
        // The rename itself reaches the disk with the folder.
        auto folder = target_.parent_path();
        int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
    }

private:
    std::filesystem::path target_;
    std::filesystem::path path_;
    int fd_ = -1;
    bool committed_ = false;
};

}  // namespace

void WriteFileReplacing(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    ReplacementFile file(FollowLinks(path));
    file.Write(bytes);
    file.Commit();
}
