#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One thing the connection must do about what the server sent.
struct RemoteAction {
    enum class Kind {
        CreateFile,    // a good header came: make the file the network arrives in
        WriteFile,     // append `bytes` to that file
        OpenDocument,  // the file is whole: close it and open it as the remote document
        ResultLine,    // hand `bytes`, one line without its end, to the remote document
        Message,       // show the user `bytes`
        Close,         // end the connection
    };
    Kind kind;
    std::string bytes;

    bool operator==(const RemoteAction&) const = default;
};

// The remote solver server's stream, taken apart without a socket: a header
// of 29 bytes ("<HEADER INFO", the file's size in decimal, '>' at byte 28),
// the ".pf" file of that size, then result lines ended by "\n" or "\r".
// TCP splits and joins the server's writes at any byte, so every part may
// arrive in pieces and several parts in one block: the header is gathered
// until it is whole, the file takes exactly its own bytes, and a line not
// ended yet waits for the rest.
class RemoteReceiver {
public:
    enum class Phase { Header, File, Lines };

    static constexpr std::size_t kHeaderSize = 29;
    static constexpr std::int64_t kMaxFileSize = std::int64_t{256} << 20;
    static constexpr const char* kServerClosed = "Server closed connection";
    static constexpr const char* kWrongHeader = "Wrong header data from server";
    static constexpr const char* kHeaderEndMissing = "Wrong data from server - end header missing";
    // A result line is a few hundred bytes; one far longer means the server
    // never ends its lines, and gathering on would grow without bound.
    static constexpr std::size_t kMaxLineLength = std::size_t{1} << 20;
    static constexpr const char* kLineTooLong = "Wrong data from server - result line too long";

    // What to do about the next block the server sent, in order.
    std::vector<RemoteAction> Feed(std::string_view block);
    // The server closed the connection: a line it left unended is handed on
    // as the last one; then the message and the close. Starts over.
    // A line longer than kMaxLineLength is refused the same way: the
    // message, the close, and a fresh start.
    std::vector<RemoteAction> ServerClosed();
    // Back to waiting for a header, with nothing gathered.
    void Reset();

    Phase CurrentPhase() const { return phase_; }
    // Bytes of the file still expected in the file phase.
    std::int64_t Remaining() const { return remaining_; }

private:
    // Each takes what belongs to its phase from the front of `block`.
    void TakeHeader(std::string_view& block, std::vector<RemoteAction>& actions);
    void TakeFile(std::string_view& block, std::vector<RemoteAction>& actions);
    void TakeLines(std::string_view& block, std::vector<RemoteAction>& actions);

    Phase phase_ = Phase::Header;
    std::string header_;       // the header's bytes gathered so far
    std::int64_t remaining_ = 0;
    std::string unendedLine_;  // the start of a line whose end has not come
};
