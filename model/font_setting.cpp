#include "font_setting.h"

FontSetting::FontSetting() {
    font.height = -12;
    font.weight = 400;
    font.quality = 2;          // proof quality
    font.pitchAndFamily = 18;  // variable pitch, Swiss family
    font.SetFaceName("MS Sans Serif");
}
