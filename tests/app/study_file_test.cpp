#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include <QTemporaryDir>

#include "study_file.h"
#include "temporary_folder_override.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> FilesIn(const QString& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder.toStdString())) files.push_back(entry.path());
    return files;
}

TEST(StudyFile, IsANewEmptyFileWithThePrefixThatGoesWithIt) {
    QTemporaryDir folder;
    TemporaryFolderOverride tmp(folder.path().toStdString());
    {
        std::optional<StudyFile> first = StudyFile::Create("TCTheta");
        std::optional<StudyFile> second = StudyFile::Create("TCTheta");
        ASSERT_TRUE(first && second);
        const fs::path path = first->Path();
        EXPECT_EQ(path.parent_path(), fs::path(folder.path().toStdString()));
        EXPECT_EQ(path.filename().string().rfind("TCTheta", 0), 0u) << path;
        EXPECT_NE(path, fs::path(second->Path()));
        EXPECT_EQ(fs::file_size(path), 0u);
        // The study writes it by name.
        std::ofstream(first->Path()) << "Names x Sensitivity\n";

        // Moved, it goes once, with its new owner.
        std::optional<StudyFile> moved(std::move(*first));
        first.reset();
        EXPECT_TRUE(fs::exists(path));
        EXPECT_EQ(FilesIn(folder.path()).size(), 2u);
    }
    EXPECT_TRUE(FilesIn(folder.path()).empty());
}

}  // namespace
