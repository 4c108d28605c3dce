// The remote solver server's stream taken apart block by block, however TCP
// split or joined the server's writes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "remote_receiver.h"

// Beside the type, where the test's messages find it.
static void PrintTo(const RemoteAction& action, std::ostream* out) {
    *out << static_cast<int>(action.kind) << " \"" << action.bytes << '"';
}

namespace {

using Kind = RemoteAction::Kind;
using Phase = RemoteReceiver::Phase;

// A header announcing `size` as the server writes it: the number after a
// blank, blanks up to byte 28, then '>'.
std::string Header(const std::string& size, char end = '>') {
    std::string header = "<HEADER INFO " + size;
    header.resize(RemoteReceiver::kHeaderSize - 1, ' ');
    return header + end;
}

RemoteAction Create() { return {Kind::CreateFile, {}}; }
RemoteAction Write(const std::string& bytes) { return {Kind::WriteFile, bytes}; }
RemoteAction Open() { return {Kind::OpenDocument, {}}; }
RemoteAction Line(const std::string& line) { return {Kind::ResultLine, line}; }
RemoteAction Message(const char* text) { return {Kind::Message, text}; }
RemoteAction Close() { return {Kind::Close, {}}; }

TEST(RemoteReceiver, TakesTheStreamApartWhereverItIsSplit) {
    const std::string header5 = Header("5");
    struct Case {
        const char* name;
        std::vector<std::string> blocks;
        bool serverCloses;
        std::vector<RemoteAction> actions;
        Phase phaseAfter;
    } cases[] = {
        {"header and whole file in one block", {header5 + "abcde"}, false, {Create(), Write("abcde"), Open()},
         Phase::Lines},
        {"header alone, then the file in pieces", {header5, "ab", "c", "de"}, false,
         {Create(), Write("ab"), Write("c"), Write("de"), Open()}, Phase::Lines},
        {"header split 10 + 19", {header5.substr(0, 10), header5.substr(10), "abcde"}, false,
         {Create(), Write("abcde"), Open()}, Phase::Lines},
        {"header in single bytes up to its start", {"<", "HEADER INFO", header5.substr(12) + "abcde"}, false,
         {Create(), Write("abcde"), Open()}, Phase::Lines},
        {"file's end and the first lines in one block", {header5 + "abc", "de1 A 1.02 0\nEND\n"}, false,
         {Create(), Write("abc"), Write("de"), Open(), Line("1 A 1.02 0"), Line("END")}, Phase::Lines},
        {"a line split across blocks is applied once, whole; runs of ends make no empty lines",
         {header5 + "abcde" + "BUS", "ES\r\n\r\n2 B", " 0.98 -2.5\n", "\rEND\r"}, false,
         {Create(), Write("abcde"), Open(), Line("BUSES"), Line("2 B 0.98 -2.5"), Line("END")}, Phase::Lines},
        {"the server closing hands on an unended line", {header5 + "abcde" + "END"}, true,
         {Create(), Write("abcde"), Open(), Line("END"), Message(RemoteReceiver::kServerClosed), Close()},
         Phase::Header},
        {"the server closing during the file", {header5 + "ab"}, true,
         {Create(), Write("ab"), Message(RemoteReceiver::kServerClosed), Close()}, Phase::Header},
        {"size 0", {Header("0") + "abc"}, false, {Message(RemoteReceiver::kHeaderEndMissing)}, Phase::Header},
        {"size -5", {Header("-5")}, false, {Message(RemoteReceiver::kHeaderEndMissing)}, Phase::Header},
        {"size 2^31 - 1", {Header("2147483647")}, false, {Message(RemoteReceiver::kHeaderEndMissing)},
         Phase::Header},
        {"no number", {Header("abc")}, false, {Message(RemoteReceiver::kHeaderEndMissing)}, Phase::Header},
        {"byte 28 not '>'", {Header("5", ' ') + "abcde"}, false, {Message(RemoteReceiver::kHeaderEndMissing)},
         Phase::Header},
        {"a wrong start is refused as soon as 12 bytes are there", {"<HEADER", " INFX", " 5"}, false,
         {Message(RemoteReceiver::kWrongHeader)}, Phase::Header},
        {"a refused header leaves the next block to be a header", {Header("0"), header5.substr(0, 20), header5.substr(20) + "abcde"},
         false, {Message(RemoteReceiver::kHeaderEndMissing), Create(), Write("abcde"), Open()}, Phase::Lines},
        {"blanks and a plus before the number", {Header("   +3") + "xyz"}, false,
         {Create(), Write("xyz"), Open()}, Phase::Lines},
        {"an empty block does nothing", {""}, false, {}, Phase::Header},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RemoteReceiver receiver;
        std::vector<RemoteAction> actions;
        for (const std::string& block : c.blocks) {
            for (RemoteAction& action : receiver.Feed(block)) actions.push_back(std::move(action));
        }
        if (c.serverCloses) {
            for (RemoteAction& action : receiver.ServerClosed()) actions.push_back(std::move(action));
        }
        EXPECT_EQ(actions, c.actions);
        EXPECT_EQ(receiver.CurrentPhase(), c.phaseAfter);
    }
}

TEST(RemoteReceiver, CountsTheFileDownToItsLastByteUpTo256MiB) {
    RemoteReceiver receiver;
    EXPECT_EQ(receiver.Feed(Header("268435456")), std::vector<RemoteAction>{Create()});
    EXPECT_EQ(receiver.CurrentPhase(), Phase::File);
    EXPECT_EQ(receiver.Remaining(), 268435456);
    receiver.Feed(std::string(4096, 'x'));
    EXPECT_EQ(receiver.Remaining(), 268435456 - 4096);

    receiver.Reset();
    EXPECT_EQ(receiver.CurrentPhase(), Phase::Header);
    EXPECT_EQ(receiver.Feed(Header("268435457")),
              std::vector<RemoteAction>{Message(RemoteReceiver::kHeaderEndMissing)});
}

// A server that never ends a line must not make the gathered line grow
// without bound: at the cap the connection is given up with a message.
TEST(RemoteReceiver, GivesUpOnALineThatNeverEnds) {
    RemoteReceiver receiver;
    receiver.Feed(Header("1") + "x");
    ASSERT_EQ(receiver.CurrentPhase(), Phase::Lines);
    const std::string block(RemoteReceiver::kMaxLineLength / 4, 'a');
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(receiver.Feed(block).empty());
    EXPECT_EQ(receiver.Feed("a"), (std::vector<RemoteAction>{Message(RemoteReceiver::kLineTooLong), Close()}));
    EXPECT_EQ(receiver.CurrentPhase(), Phase::Header);

    // A line of exactly the cap still comes through whole.
    receiver.Feed(Header("1") + "x" + std::string(RemoteReceiver::kMaxLineLength, 'b'));
    EXPECT_EQ(receiver.Feed("\n"), std::vector<RemoteAction>{Line(std::string(RemoteReceiver::kMaxLineLength, 'b'))});
}

}  // namespace
