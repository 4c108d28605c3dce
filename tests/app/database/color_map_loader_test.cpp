#include "color_map_loader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "color_map.h"
#include "fresh_results_database.h"
#include "recording_prompt.h"

namespace {

using Entries = std::vector<std::pair<double, ColorRef>>;

// The legend's walk over a map: its entries in ascending thresholds.
Entries EntriesOf(ColorMap& map) {
    Entries entries;
    for (map.MoveFirst(); !map.IsAtEnd(); map.MoveNext())
        entries.emplace_back(map.GetCurrentLimit(), map.GetCurrentColor());
    return entries;
}

class LoadColorMapsOnResults : public FreshResultsDatabase {
protected:
    void Load() {
        nominal_ = std::make_unique<ColorMap>();
        busVoltage_ = std::make_unique<ColorMap>();
        loading_ = std::make_unique<ColorMap>();
        prompt_.boxes.clear();
        LoadColorMaps(database_, {.nominalVoltage = *nominal_, .busVoltage = *busVoltage_, .loading = *loading_},
                      prompt_);
    }

    std::unique_ptr<ColorMap> nominal_, busVoltage_, loading_;
    RecordingPrompt prompt_;
};

TEST_F(LoadColorMapsOnResults, DefaultMapsColourTheDiagram) {
    Load();
    EXPECT_TRUE(prompt_.boxes.empty());
    EXPECT_EQ(EntriesOf(*nominal_), (Entries{{1.0, Rgb(128, 128, 128)},
                                             {36.0, Rgb(128, 64, 0)},
                                             {111.0, Rgb(0, 160, 0)},
                                             {221.0, Rgb(0, 0, 255)},
                                             {401.0, Rgb(255, 0, 0)},
                                             {1000.0, Rgb(160, 0, 160)}}));
    // Each usual nominal voltage gets its own colour.
    EXPECT_EQ(nominal_->GetColor(110.0f, kBlack), Rgb(0, 160, 0));
    EXPECT_EQ(nominal_->GetColor(220.0f, kBlack), Rgb(0, 0, 255));
    EXPECT_EQ(nominal_->GetColor(400.0f, kBlack), Rgb(255, 0, 0));
    // A bus at nominal voltage (index 1) is green, one 6 % low orange.
    EXPECT_EQ(busVoltage_->GetCount(), 4);
    EXPECT_EQ(busVoltage_->GetColor(1.0f, kBlack), Rgb(0, 160, 0));
    EXPECT_EQ(busVoltage_->GetColor(0.94f, kBlack), Rgb(255, 160, 0));
    // A branch at 90 % of its limit is orange, one over it red.
    EXPECT_EQ(loading_->GetCount(), 4);
    EXPECT_EQ(loading_->GetColor(90.0f, kBlack), Rgb(255, 160, 0));
    EXPECT_EQ(loading_->GetColor(120.0f, kBlack), Rgb(255, 0, 0));
}

TEST_F(LoadColorMapsOnResults, RepeatedThresholdKeepsTheFirstColour) {
    // A table made elsewhere, without the schema's checks.
    Exec("DROP TABLE LoadingColorMap");
    Exec("CREATE TABLE LoadingColorMap (Percent, RED, GREEN, BLUE)");
    Exec("INSERT INTO LoadingColorMap (Percent, RED, GREEN, BLUE) VALUES "
         "(0.7, 1, 2, 3), (0.7, 9, 9, 9), (NULL, 300, -5, NULL), (2, 0, 0, 0)");
    Load();
    EXPECT_TRUE(prompt_.boxes.empty());
    // The colour is RED + GREEN * 256 + BLUE * 65536, the threshold a float;
    // a null reads as 0, and channels outside 0..255 are clamped rather than
    // spilt into the next one.
    EXPECT_EQ(EntriesOf(*loading_), (Entries{{0.0, 0x0000FF}, {static_cast<double>(0.7f), 0x030201}, {2.0, 0}}));
}

TEST_F(LoadColorMapsOnResults, TableThatCannotBeReadStopsTheTablesAfterIt) {
    struct Case {
        const char* change;
        const char* message;
        int nominal, busVoltage, loading;
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
        Exec(c.change);
        Load();
        ASSERT_EQ(prompt_.boxes.size(), 1u) << c.change;
        EXPECT_EQ(prompt_.boxes[0].text, c.message);
        EXPECT_EQ(prompt_.boxes[0].caption, "Error");
        EXPECT_EQ(nominal_->GetCount(), c.nominal) << c.change;
        EXPECT_EQ(busVoltage_->GetCount(), c.busVoltage) << c.change;
        EXPECT_EQ(loading_->GetCount(), c.loading) << c.change;
    }
}

}  // namespace
