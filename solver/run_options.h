#pragma once

#include <optional>
#include <string>
#include <vector>

// The options of one run, a value that owns its copies: the argument list,
// laid out like a command line (item 0 a program name, "-Tvalue" option T
// with its value, anything else a file argument; the first matching item
// wins), and in a host run the answers the host's study gives instead of a
// list. The caller's list may be gone before a later operation reads an
// option.
class RunOptions {
public:
    // A null item stays null.
    void SetArguments(int count, const char* const* items);
    // 0 file run, 1 host run.
    void SetMode(int mode) { mode_ = mode; }
    int Mode() const { return mode_; }
    // A host run that traces a continuation into the table `table`: options
    // c and L are on, and c, H and K answer the table's name, until
    // EndHostContinuation. K keeps answering it after that.
    void BeginHostContinuation(const char* table);
    void EndHostContinuation();
    bool HostContinuation() const { return hostContinuation_; }

    bool Has(char letter) const;
    // The text after the letter; null when the option is not given.
    const char* Value(char letter) const;
    // The number a host continuation gives for option S or L, whatever
    // the list holds; none otherwise.
    std::optional<double> HostNumber(char letter) const;
    // The n-th file argument (from 1), without a leading '>'.
    std::optional<std::string> FileArgument(int n) const;

private:
    std::vector<std::string> texts_;
    std::vector<const char*> items_;
    int mode_ = 0;
    bool hostContinuation_ = false;
    std::string hostText_;
};
