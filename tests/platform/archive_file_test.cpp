#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "archive.h"
#include "archive_file.h"

namespace fs = std::filesystem;

namespace {

// A folder of its own for each test, removed afterwards.
class ArchiveFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("tavrin_archive_file_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    static std::vector<std::uint8_t> Content(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::vector<fs::path> FilesInFolder() const {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(folder_)) files.push_back(entry.path().filename());
        return files;
    }
    static Archive StoredText(const std::string& text) {
        Archive out = Archive::ForStoring();
        out.WriteInt32(19);
        out.WriteString(text);
        return out;
    }

    // Run in a child process: files may not grow past 64 bytes, so writing
    // a larger document fails part-way as on a full disk. Exits with 0 when
    // the save raised the archive error for the file.
    static void SaveWithFilesLimitedTo64Bytes(const fs::path& path) {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{64, 64};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        try {
            SaveArchiveFile(StoredText(std::string(4096, 'n')), path);
        } catch (const ArchiveError& error) {
            std::_Exit(error.GetKind() == ArchiveError::Kind::FileFailure ? 0 : 2);
        }
        std::_Exit(1);
    }

    fs::path folder_;
};

TEST_F(ArchiveFile, SavedDocumentOpensAgainAndReplacesTheOldOneInPlace) {
    const fs::path path = folder_ / "network.pf";
    SaveArchiveFile(StoredText("first"), path);
    ::chmod(path.c_str(), 0640);

    Archive second = StoredText(std::string(1000, 's'));
    SaveArchiveFile(second, path);
    EXPECT_EQ(Content(path), second.Bytes());
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(FilesInFolder(), std::vector<fs::path>{"network.pf"});

    Archive in = OpenArchiveFile(path);
    EXPECT_TRUE(in.IsLoading());
    EXPECT_EQ(in.ReadInt32(), 19);
    EXPECT_EQ(in.ReadString(), std::string(1000, 's'));
}

TEST_F(ArchiveFile, AFailedWriteLeavesThePreviousFileUntouched) {
    const fs::path path = folder_ / "network.pf";
    SaveArchiveFile(StoredText("the document as it was"), path);
    const auto before = Content(path);

    EXPECT_EXIT(SaveWithFilesLimitedTo64Bytes(path), ::testing::ExitedWithCode(0), "");

    EXPECT_EQ(Content(path), before);
    EXPECT_EQ(FilesInFolder(), std::vector<fs::path>{"network.pf"});
}

TEST_F(ArchiveFile, MissingFilesAndFoldersRaiseTheArchiveError) {
    try {
        OpenArchiveFile(folder_ / "absent.pf");
        ADD_FAILURE() << "opened a missing file";
    } catch (const ArchiveError& error) {
        EXPECT_EQ(error.GetKind(), ArchiveError::Kind::FileFailure);
    }
    try {
        SaveArchiveFile(StoredText("x"), folder_ / "absent" / "network.pf");
        ADD_FAILURE() << "saved into a missing folder";
    } catch (const ArchiveError& error) {
        EXPECT_EQ(error.GetKind(), ArchiveError::Kind::FileFailure);
    }
    EXPECT_TRUE(FilesInFolder().empty());
}

}  // namespace
