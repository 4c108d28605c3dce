#include "grid_print_layout.h"

#include <cstddef>

std::vector<int> PrintBands(const std::vector<int>& sizes, int first, int pageExtent) {
    std::vector<int> bands{first};
    long long used = 0;
    bool bandHasShownRow = false;
    for (int index = first; index < static_cast<int>(sizes.size()); ++index) {
        int size = sizes[static_cast<std::size_t>(index)];
        if (size <= 0) continue;
        if (bandHasShownRow && used + size > pageExtent) {
            bands.push_back(index);
            used = 0;
        }
        used += size;
        bandHasShownRow = true;
    }
    return bands;
}
