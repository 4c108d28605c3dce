#include "replacement_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>

namespace {

[[noreturn]] void Fail(const std::string& what, const std::filesystem::path& path, int error) {
    throw FileWriteError(what + " " + path.string() + ": " + std::strerror(error));
}

// The new file beside the one it will replace; removed unless Commit ran.
class ReplacementFile {
public:
    explicit ReplacementFile(const std::filesystem::path& target) : target_(target) {
        static std::atomic<unsigned> serial{0};
        for (int attempt = 0; attempt < 100; ++attempt) {
            // Appended piece by piece: "." + string trips a false -Wrestrict in GCC 12.
            std::string name(1, '.');
            name += target.filename().string();
            name += '.';
            name += std::to_string(::getpid());
            name += '-';
            name += std::to_string(serial++);
            name += ".tmp";
            path_ = target;
            path_.replace_filename(name);
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
    ReplacementFile file(path);
    file.Write(bytes);
    file.Commit();
}
