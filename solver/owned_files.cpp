#include "owned_files.h"

#include <algorithm>

FILE* OwnedFiles::Open(const std::string& name, const char* mode) {
    FILE* file = std::fopen(name.c_str(), mode);
    if (file) open_.push_back(file);
    return file;
}

bool OwnedFiles::Close(FILE* file) {
    auto it = std::find(open_.begin(), open_.end(), file);
    if (it == open_.end()) return file == nullptr || std::fflush(file) == 0;
    open_.erase(it);
    bool written = !std::ferror(file);
    return std::fclose(file) == 0 && written;
}

void OwnedFiles::CloseAll() {
    for (FILE* file : open_) std::fclose(file);
    open_.clear();
}
