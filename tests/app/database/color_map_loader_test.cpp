#include "color_map_loader.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "fresh_results_database.h"
#include "recording_prompt.h"

namespace {

using Entries = std::vector<std::pair<float, ColorRef>>;

class LoadColorMapsOnResults : public FreshResultsDatabase {
protected:
    void Load() {
        auto into = [](Entries& entries) {
            return [&entries](float threshold, ColorRef color) { entries.emplace_back(threshold, color); };
        };
        LoadColorMaps(database_, {into(nominal_), into(busVoltage_), into(loading_)}, prompt_);
    }

    Entries nominal_, busVoltage_, loading_;
    RecordingPrompt prompt_;
};

TEST_F(LoadColorMapsOnResults, DefaultMapsFillInTableOrder) {
    Load();
    EXPECT_TRUE(prompt_.boxes.empty());
    EXPECT_EQ(nominal_, (Entries{{1.0f, Rgb(128, 128, 128)},
                                 {36.0f, Rgb(128, 64, 0)},
                                 {111.0f, Rgb(0, 160, 0)},
                                 {221.0f, Rgb(0, 0, 255)},
                                 {401.0f, Rgb(255, 0, 0)},
                                 {1000.0f, Rgb(160, 0, 160)}}));
    EXPECT_EQ(busVoltage_.size(), 4u);
    EXPECT_EQ(busVoltage_.front(), (std::pair{0.90f, Rgb(255, 0, 0)}));
    EXPECT_EQ(loading_.size(), 4u);
    EXPECT_EQ(loading_.back(), (std::pair{1.5f, Rgb(255, 0, 0)}));
}

TEST_F(LoadColorMapsOnResults, RowsBecomeFloatThresholdsAndColours) {
    // A table made elsewhere, without the schema's checks.
    Exec("DROP TABLE LoadingColorMap");
    Exec("CREATE TABLE LoadingColorMap (Percent, RED, GREEN, BLUE)");
    Exec("INSERT INTO LoadingColorMap (Percent, RED, GREEN, BLUE) VALUES "
         "(0.7, 1, 2, 3), (0.7, 9, 9, 9), (NULL, 300, -5, NULL), (2, 0, 0, 0)");
    Load();
    // Both rows of a repeated threshold go to the map in table order, so the
    // map, which keeps the first colour of a threshold, keeps the first row's.
    // Channels outside 0..255 are clamped rather than spilt into the next one.
    EXPECT_EQ(loading_, (Entries{{0.7f, 0x030201}, {0.7f, 0x090909}, {0.0f, 0x0000FF}, {2.0f, 0}}));
    EXPECT_TRUE(prompt_.boxes.empty());
}

TEST_F(LoadColorMapsOnResults, TableThatCannotBeReadStopsTheTablesAfterIt) {
    struct Case {
        const char* change;
        const char* message;
        std::size_t nominal, busVoltage, loading;
    };
    const Case cases[] = {
        {"DROP TABLE NomVoltageColorMap", "Cannot open NomVoltageColorMap table!", 0, 0, 0},
        {"DROP TABLE BusVoltageColorMap", "Cannot open BusVoltageColorMap table!", 6, 0, 0},
        {"ALTER TABLE LoadingColorMap RENAME COLUMN Percent TO Share", "Cannot open LoadingColorMap table!", 6, 4, 0},
    };
    for (const Case& c : cases) {
        std::string error;
        ASSERT_TRUE(std::filesystem::remove(path_));
        ASSERT_TRUE(CreateResultsDatabase(path_, error)) << error;
        ASSERT_TRUE(database_.Open());
        nominal_.clear(), busVoltage_.clear(), loading_.clear(), prompt_.boxes.clear();
        Exec(c.change);
        Load();
        ASSERT_EQ(prompt_.boxes.size(), 1u) << c.change;
        EXPECT_EQ(prompt_.boxes[0].text, c.message);
        EXPECT_EQ(prompt_.boxes[0].caption, "Error");
        EXPECT_EQ(nominal_.size(), c.nominal) << c.change;
        EXPECT_EQ(busVoltage_.size(), c.busVoltage) << c.change;
        EXPECT_EQ(loading_.size(), c.loading) << c.change;
    }
}

}  // namespace
