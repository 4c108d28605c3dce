#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "report_interface.h"

// A report released when the test lets go of it.
struct ReleaseReport {
    void operator()(IDBReport* report) const { report->Release(); }
};
using ReportHandle = std::unique_ptr<IDBReport, ReleaseReport>;

inline ReportHandle NewReport(ITextMeasurer& display) { return ReportHandle(createReport(display)); }

// A path in the temporary folder that no other test uses.
inline std::filesystem::path UniqueTempPath(const std::string& stem) {
    static std::atomic<int> serial{0};
    return std::filesystem::temp_directory_path() /
           (stem + "_" + std::to_string(::getpid()) + "_" + std::to_string(serial++) + ".txt");
}

inline std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The bytes SaveAs writes; empty when it fails.
inline std::string SavedBytes(IDBReport& report, bool formFeeds = false) {
    auto path = UniqueTempPath("tavrin_report");
    std::string bytes;
    if (report.SaveAs(path.c_str(), formFeeds)) bytes = FileBytes(path);
    std::filesystem::remove(path);
    return bytes;
}
