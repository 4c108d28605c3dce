#include "colour_table.h"

// "Pale green " keeps its trailing blank: it is the text users have always seen.
const std::array<NamedColour, kPickerColourCount> kPickerColours = {{
    {0x000000, "Black"},          {0x002AA5, "Brown"},        {0x404000, "Dark Olive Green"},
    {0x005500, "Dark Green"},     {0x5E0000, "Dark Teal"},    {0x8B0000, "Dark blue"},
    {0x82004B, "Indigo"},         {0x282828, "Dark grey"},    {0x00008B, "Dark red"},
    {0x2068FF, "Orange"},         {0x008B8B, "Dark yellow"},  {0x009300, "Green"},
    {0x8E8E38, "Teal"},           {0xFF0000, "Blue"},         {0xC07B7B, "Blue-grey"},
    {0x666666, "Grey - 40"},      {0x0000FF, "Red"},          {0x5BADFF, "Light orange"},
    {0x32CD32, "Lime"},           {0x71B33C, "Sea green"},    {0xD4FF7F, "Aqua"},
    {0xC09E7D, "Light blue"},     {0x800080, "Violet"},       {0x7F7F7F, "Grey - 50"},
    {0xCBC0FF, "Pink"},           {0x00D7FF, "Gold"},         {0x00FFFF, "Yellow"},
    {0x00FF00, "Bright green"},   {0xD0E040, "Turquoise"},    {0xFFFFC0, "Skyblue"},
    {0x480048, "Plum"},           {0xC0C0C0, "Light grey"},   {0xE1E4FF, "Rose"},
    {0x8CB4D2, "Tan"},            {0xE0FFFF, "Light yellow"}, {0x98FB98, "Pale green "},
    {0xEEEEAF, "Pale turquoise"}, {0x8B8368, "Pale blue"},    {0xFAE6E6, "Lavender"},
    {0xFFFFFF, "White"},
}};

int PickerColourIndex(ColorRef colour) {
    for (int i = 0; i < kPickerColourCount; ++i) {
        if (kPickerColours[i].colour == colour) return i;
    }
    return -1;
}
