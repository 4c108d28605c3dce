#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "tokenizer.h"

class PowerSystem;
class ElementList;

// The result lines that a remote solver server sends after the network: a
// line of one keyword opens a section ("DATA" starts a block, "END" ends it
// with a redraw), and each data line of a section puts values into the
// element it names. Buses are named by the server's numbers, which its
// BUSES lines tie to the buses' names; the numbers hold within one DATA
// block. A line that lacks data or names nothing of the model is told to
// the model's message sink (warning) and dropped.
class RemoteResults {
public:
    explicit RemoteResults(PowerSystem& model) : model_(model) {}
    virtual ~RemoteResults() = default;
    RemoteResults(const RemoteResults&) = delete;
    RemoteResults& operator=(const RemoteResults&) = delete;

    // Names every bus of the list in key order; a name that two buses share
    // keeps the first and is reported.
    void NameBuses(const ElementList& buses);
    void ReadLine(const std::string& line);

private:
    enum Section : int {
        kNone = -1,
        kData = 1,
        kBuses,
        kLines,
        kGenerators,
        kLoads,
        kShunts,
        kVarCompensators,
        kReactors,
        kCutsets,
        kCapacitors,
        kSyncCompensators,
        kEnd
    };
    // What a section of one-port results needs: tokens, the element's
    // category, which value takes token 1 and 2 (-1: none), and its texts.
    struct OnePortSection {
        std::size_t tokens;
        int category;
        int firstValue;
        int secondValue;
        const char* notEnough;
        const char* noBus;
        const char* noElement;
    };

    void SelectSection(const std::string& keyword);
    void ReadBus(const std::vector<std::string>& tokens);
    void ReadLineFlows(const std::vector<std::string>& tokens);
    void ReadOnePort(const std::vector<std::string>& tokens, const OnePortSection& section);
    void ReadCutset(const std::vector<std::string>& tokens);
    // The bus key that the server's number stands for in this block; 0 when
    // none.
    int BusKeyOf(const std::string& token) const;
    void Report(const std::string& text) const;

    PowerSystem& model_;
    Tokenizer tokenizer_{" \r\n\t"};
    int section_ = kNone;
    std::map<std::string, int, std::less<>> busNames_;  // bus name -> key
    std::map<int, int> busNumbers_;                     // server's number -> bus key
};
