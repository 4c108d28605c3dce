#include "replacement_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "scratch_folder.h"

namespace fs = std::filesystem;

namespace {

std::string Content(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Replace(const fs::path& path, const std::string& text) {
    WriteFileReplacing(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A name as long as the folder takes can be saved in place again.
TEST(WriteFileReplacing, AFileWithTheLongestNameIsReplacedInPlace) {
    ScratchFolder folder("replacing_long_name");
    for (std::size_t length : {200u, 240u, 255u}) {
        SCOPED_TRACE(length);
        const fs::path path = folder / (std::string(length - 3, 'n') + ".pf");
        std::ofstream(path) << "old";
        Replace(path, "new");
        EXPECT_EQ(Content(path), "new");
        fs::remove(path);
        EXPECT_TRUE(fs::is_empty(folder / ""));
    }
}

// Saving through a link writes the file it points to and keeps the link.
TEST(WriteFileReplacing, ALinkStaysAndTheFileItPointsToIsReplaced) {
    ScratchFolder folder("replacing_link");
    fs::create_directories(folder / "real");
    const fs::path file = folder / "real" / "network.pf";
    struct Case {
        const char* link;
        fs::path target;
    };
    const Case cases[] = {
        {"relative.pf", fs::path("real") / "network.pf"},
        {"absolute.pf", file},
        {"chained.pf", "relative.pf"},
    };
    for (const Case& c : cases) fs::create_symlink(c.target, folder / c.link);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        std::ofstream(file) << "old";
        Replace(folder / c.link, std::string("saved through ") + c.link);
        EXPECT_TRUE(fs::is_symlink(folder / c.link));
        EXPECT_EQ(Content(file), std::string("saved through ") + c.link);
    }
    EXPECT_EQ(Names(folder / "real"), std::vector<std::string>{"network.pf"});
    EXPECT_EQ(Names(folder / ""), (std::vector<std::string>{"absolute.pf", "chained.pf", "real", "relative.pf"}));
}

}  // namespace
