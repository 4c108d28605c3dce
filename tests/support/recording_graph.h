#pragma once

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "graph_interface.h"

// A graph window that keeps the calls it is given, one text each
// ("SetCaption Title - PV Curves"), and the data file as it was when the
// window was created. It stays alive for the test to look at:
// the last Release only marks it released.
class RecordingGraph final : public IDlgGraph {
public:
    int Release() override {
        calls.push_back("Release");
        return --references;
    }
    void AddRef() override { ++references; }
    int DoModal() override { return 0; }
    bool Create() override {
        calls.push_back("Create");
        std::ostringstream text;
        text << std::ifstream(dataFile).rdbuf();
        dataAtCreate = text.str();
        headerAtCreate = dataAtCreate.substr(0, dataAtCreate.find('\n'));
        return true;
    }
    void SetDataFile(const char* path, bool loadNow, int xColumn) override {
        dataFile = path;
        calls.push_back("SetDataFile " + std::string(loadNow ? "now" : "later") + " " + std::to_string(xColumn));
    }
    void SetXAxisTitle(const char* title) override { calls.push_back("SetXAxisTitle " + std::string(title)); }
    void SetYAxisTitle(const char* title) override { calls.push_back("SetYAxisTitle " + std::string(title)); }
    void SetGraphTitle(const char* title) override { calls.push_back("SetGraphTitle " + std::string(title)); }
    void SetGraphType(int type) override { calls.push_back("SetGraphType " + std::to_string(type)); }
    void SetXVariable(const char* name) override { calls.push_back("SetXVariable " + std::string(name)); }
    void AddYVariable(const char* name) override { calls.push_back("AddYVariable " + std::string(name)); }
    void SetCaption(const char* caption) override { calls.push_back("SetCaption " + std::string(caption)); }
    void SetCascadeOffset(int pixels) override { calls.push_back("SetCascadeOffset " + std::to_string(pixels)); }

    // The value of the first call that starts with `name` and a blank;
    // empty when there is none.
    std::string Argument(const std::string& name) const {
        for (const std::string& call : calls) {
            if (call.rfind(name + " ", 0) == 0) return call.substr(name.size() + 1);
        }
        return {};
    }
    bool Called(const std::string& name) const {
        for (const std::string& call : calls) {
            if (call == name || call.rfind(name + " ", 0) == 0) return true;
        }
        return false;
    }

    std::vector<std::string> calls;
    std::string dataFile;
    std::string dataAtCreate;
    std::string headerAtCreate;  // its first line, without the line feed
    int references = 1;
};

// Makes recording graph windows in place of the report library's and keeps
// them; `failAfter` windows made, it makes no more.
struct RecordingGraphFactory {
    std::vector<std::unique_ptr<RecordingGraph>> graphs;
    int failAfter = 1000;

    IDlgGraph* Make() {
        if (static_cast<int>(graphs.size()) >= failAfter) return nullptr;
        graphs.push_back(std::make_unique<RecordingGraph>());
        return graphs.back().get();
    }
};
