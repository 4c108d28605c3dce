#pragma once

#include <optional>
#include <string>

// A data file a study writes and a graph window reads: a new, empty file of
// its own in the temporary folder, its name starting with the study's
// prefix. Made with O_EXCL, so no other program's file of the same name is
// taken over; closed again before the study opens it by name. The file goes
// when the object does, on every way out of the command.
class StudyFile {
public:
    // Nothing when no such file can be made.
    static std::optional<StudyFile> Create(const char* prefix);

    StudyFile(StudyFile&& other) noexcept;
    StudyFile& operator=(StudyFile&&) = delete;
    StudyFile(const StudyFile&) = delete;
    ~StudyFile();

    // The path in the file system's own encoding.
    const char* Path() const { return path_.c_str(); }

private:
    explicit StudyFile(std::string path) : path_(std::move(path)) {}

    std::string path_;  // empty once moved from
};

// The path of an optional study file, or null when there is none.
inline const char* PathOrNull(const std::optional<StudyFile>& file) { return file ? file->Path() : nullptr; }
