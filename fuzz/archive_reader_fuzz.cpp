// Feeds arbitrary bytes to a loading archive. The first byte says how many of
// the following bytes are a script of reads; the rest is the archive. Every
// read either succeeds or throws ArchiveError; a value read must store and
// read back equal. Any other exception, a crash, a leak or a large allocation
// is a finding.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "archive.h"
#include "archive_records.h"

namespace {

// Stores the value with `write`, reads it back with `read`, and stops the
// run when the two differ.
template <typename T, typename Write, typename Read>
void ExpectRoundTrip(const T& value, Write write, Read read) {
    Archive out = Archive::ForStoring();
    write(out, value);
    Archive in = Archive::ForLoading(out.Bytes());
    if (!(read(in) == value) || in.Remaining() != 0) std::abort();
}

void ReadOne(Archive& archive, std::uint8_t step) {
    switch (step % 12) {
        case 0: archive.ReadInt16(); break;
        case 1: archive.ReadInt32(); break;
        case 2: archive.ReadUInt32(); break;
        case 3: archive.ReadByte(); break;
        case 4: archive.ReadDouble(); break;
        case 5:
            ExpectRoundTrip(archive.ReadString(), [](Archive& a, const auto& v) { a.WriteString(v); },
                            [](Archive& a) { return a.ReadString(); });
            break;
        case 6: {
            std::size_t bytesPerItem = step / 12 % 9;
            std::size_t count = archive.ReadCount(bytesPerItem);
            if (count > archive.Remaining()) std::abort();
            ExpectRoundTrip(count, [](Archive& a, std::size_t v) { a.WriteCount(v); },
                            [](Archive& a) { return a.ReadCount(); });
            break;
        }
        case 7:
            if (archive.ReadInt32Count(step / 12 % 9) > archive.Remaining()) std::abort();
            break;
        case 8:
            ExpectRoundTrip(archive.ReadBlock(), [](Archive& a, const auto& v) { a.WriteBlock(v); },
                            [](Archive& a) { return a.ReadBlock(); });
            break;
        case 9:
            ExpectRoundTrip(ReadLogFont(archive), WriteLogFont, ReadLogFont);
            break;
        case 10:
            ExpectRoundTrip(ReadLogPen(archive), WriteLogPen, ReadLogPen);
            break;
        case 11:
            ExpectRoundTrip(ReadLogBrush(archive), WriteLogBrush, ReadLogBrush);
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::size_t scriptLength = data[0] < size - 1 ? data[0] : size - 1;
    const std::uint8_t* script = data + 1;
    Archive archive = Archive::ForLoading(
        std::vector<std::uint8_t>(data + 1 + scriptLength, data + size));
    try {
        // An empty script reads strings until the archive ends.
        for (std::size_t i = 0; scriptLength == 0 || i < scriptLength; ++i) {
            ReadOne(archive, scriptLength == 0 ? 5 : script[i]);
            if (scriptLength == 0 && archive.Remaining() == 0) break;
        }
    } catch (const ArchiveError&) {
        // A refused archive is an expected outcome.
    }
    return 0;
}
