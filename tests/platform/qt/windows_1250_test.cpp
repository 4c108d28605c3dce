#include <gtest/gtest.h>

#include <string>

#include "windows_1250.h"

namespace {

TEST(Windows1250, EveryByteComesBackUnchanged) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
    QString unicode = FromWindows1250(all);
    ASSERT_EQ(unicode.size(), 256);
    EXPECT_EQ(ToWindows1250(unicode), all);
}

TEST(Windows1250, LettersOfTheCodePageMapToTheirCharacters) {
    struct Case {
        char byte;
        char16_t character;
    };
    const Case cases[] = {
        {'A', u'A'},        {'\x80', u'\u20AC'}, {'\x8A', u'\u0160'}, {'\x9E', u'\u017E'},
        {'\xA3', u'\u0141'}, {'\xC8', u'\u010C'}, {'\xE6', u'\u0107'}, {'\xF0', u'\u0111'},
        {'\x81', u'\u0081'},  // undefined in the code page: kept as the control character
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(static_cast<unsigned char>(c.byte)));
        EXPECT_EQ(FromWindows1250(std::string(1, c.byte)), QString(QChar(c.character)));
        EXPECT_EQ(ToWindows1250(QString(QChar(c.character))), std::string(1, c.byte));
    }
}

TEST(Windows1250, CharactersOutsideTheCodePageBecomeOneQuestionMarkEach) {
    // A Cyrillic letter, a Japanese one, and one beyond the basic plane.
    EXPECT_EQ(ToWindows1250(QString::fromUtf8("a\u0416\u65E5\U0001F600b")), "a???b");
}

}  // namespace
