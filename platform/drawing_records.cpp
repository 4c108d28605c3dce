#include "drawing_records.h"

#include <algorithm>
#include <cstring>

std::string_view LogFont::FaceName() const {
    return {faceName_.data(), ::strnlen(faceName_.data(), faceName_.size())};
}

void LogFont::SetFaceName(std::string_view name) {
    faceName_.fill('\0');
    name = name.substr(0, std::min(name.find('\0'), kMaxFaceLength));
    std::copy(name.begin(), name.end(), faceName_.begin());
}
