#include "color_map_loader.h"

#include <algorithm>
#include <string>

#include "ado_database.h"
#include "ado_recordset.h"
#include "color_map.h"
#include "prompt.h"

namespace {

std::uint8_t Channel(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }

// Every row, or false at the first that cannot be read (then the rows
// before it are in the map already).
bool ReadTable(CADORecordset& rows, const char* thresholdColumn, ColorMap& map) {
    for (rows.MoveFirst(); !rows.IsEof(); rows.MoveNext()) {
        int red = 0, green = 0, blue = 0;
        double threshold = 0;
        if (!rows.GetFieldValue("RED", red) || !rows.GetFieldValue("GREEN", green) ||
            !rows.GetFieldValue("BLUE", blue) || !rows.GetFieldValue(thresholdColumn, threshold))
            return false;
        map.Add(static_cast<float>(threshold), Rgb(Channel(red), Channel(green), Channel(blue)));
    }
    return true;
}

}  // namespace

void LoadColorMaps(CADODataBase& database, const ColorMapTargets& maps, IPrompt& prompt) {
    const struct {
        const char* table;
        const char* thresholdColumn;
        ColorMap& map;
    } tables[] = {
        {"NomVoltageColorMap", "VLimit", maps.nominalVoltage},
        {"BusVoltageColorMap", "Percent", maps.busVoltage},
        {"LoadingColorMap", "Percent", maps.loading},
    };
    for (const auto& table : tables) {
        CADORecordset rows(&database);
        if (!rows.Open(table.table, RecordsetSource::Table) || !ReadTable(rows, table.thresholdColumn, table.map)) {
            prompt.MessageBox("Cannot open " + std::string(table.table) + " table!", "Error", PromptIcon::Error,
                              PromptButtons::Ok);
            return;
        }
    }
}
