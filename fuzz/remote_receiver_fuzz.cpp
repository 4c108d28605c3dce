// Feeds the remote solver server's stream to the receiver twice: whole, and
// cut into blocks at places the input's first four bytes choose; the fifth
// says whether the server closes at the end. The receiver must keep its
// rules on every cut (a file only after a header, writes only into it,
// lines only after it opened, never an empty line or one holding a line
// end), and a stream it took whole without complaint must come out the
// same however TCP split it. A crash, a broken rule or a difference is a
// finding.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "remote_receiver.h"

namespace {

// What the receiver made of a stream, writes joined.
struct Outcome {
    std::string file;
    std::vector<std::string> lines;
    std::vector<std::string> messages;
    int documentsOpened = 0;

    bool operator==(const Outcome&) const = default;
};

void Check(bool rule) {
    if (!rule) std::abort();
}

class Run {
public:
    void Take(const std::vector<RemoteAction>& actions) {
        for (const RemoteAction& action : actions) {
            switch (action.kind) {
                case RemoteAction::Kind::CreateFile:
                    Check(!fileOpen_);
                    fileOpen_ = true;
                    break;
                case RemoteAction::Kind::WriteFile:
                    Check(fileOpen_ && !action.bytes.empty());
                    outcome.file += action.bytes;
                    break;
                case RemoteAction::Kind::OpenDocument:
                    Check(fileOpen_);
                    fileOpen_ = false;
                    documentOpen_ = true;
                    ++outcome.documentsOpened;
                    break;
                case RemoteAction::Kind::ResultLine:
                    Check(documentOpen_ && !action.bytes.empty());
                    Check(action.bytes.find_first_of("\r\n") == std::string::npos);
                    outcome.lines.push_back(action.bytes);
                    break;
                case RemoteAction::Kind::Message: outcome.messages.push_back(action.bytes); break;
                case RemoteAction::Kind::Close:
                    fileOpen_ = false;
                    documentOpen_ = false;
                    break;
            }
        }
        Check(receiver.Remaining() >= 0 && receiver.Remaining() <= RemoteReceiver::kMaxFileSize);
        Check((receiver.CurrentPhase() == RemoteReceiver::Phase::File) == fileOpen_);
    }

    RemoteReceiver receiver;
    Outcome outcome;

private:
    bool fileOpen_ = false;
    bool documentOpen_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 5) return 0;
    std::uint32_t cuts = data[0] | data[1] << 8 | data[2] << 16 | static_cast<std::uint32_t>(data[3]) << 24;
    const bool serverCloses = (data[4] & 1) != 0;
    const std::string_view stream(reinterpret_cast<const char*>(data) + 5, size - 5);

    Run whole;
    whole.Take(whole.receiver.Feed(stream));
    if (serverCloses) whole.Take(whole.receiver.ServerClosed());

    Run split;
    for (std::size_t at = 0; at < stream.size();) {
        // A small generator of block lengths from 1 to 64.
        cuts = cuts * 1664525u + 1013904223u;
        const std::size_t length = 1 + (cuts >> 24) % 64;
        split.Take(split.receiver.Feed(stream.substr(at, length)));
        at += length;
    }
    if (serverCloses) split.Take(split.receiver.ServerClosed());

    const bool complained = whole.outcome.messages.size() > (serverCloses ? 1u : 0u);
    if (!complained) Check(split.outcome == whole.outcome);
    return 0;
}
