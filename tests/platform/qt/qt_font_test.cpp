#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include <QFontInfo>
#include <QFontMetrics>

#include "qt_font.h"
#include "qt_font_cache.h"

namespace {

LogFont Font(std::string_view face, int height, int weight = 0) {
    LogFont font;
    font.SetFaceName(face);
    font.height = height;
    font.weight = weight;
    return font;
}

TEST(QtFont, WindowsFacesAreReplacedByMetricCompatibleOnes) {
    struct Case {
        std::string_view face;
        const char* family;
    };
    const Case cases[] = {
        {"Arial", "Liberation Sans"},         {"MS Sans Serif", "Liberation Sans"},
        {"arial", "Liberation Sans"},         {"", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"}, {"Courier New", "Liberation Mono"},
        {"Lucida Console", "Liberation Mono"}, {"DejaVu Sans", "DejaVu Sans"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.face));
        EXPECT_EQ(SubstituteFace(c.face), QString::fromLatin1(c.family));
    }
    // The substitute is installed, so the drawn font is the one asked for.
    EXPECT_EQ(QFontInfo(ToQFont(Font("Arial", -12))).family(), "Liberation Sans");
    // The reports' body face keeps its columns: every character one width.
    QFontInfo body(ToQFont(Font("Lucida Console", -12)));
    EXPECT_EQ(body.family(), "Liberation Mono");
    EXPECT_TRUE(body.fixedPitch());
}

TEST(QtFont, HeightsFollowTheirSign) {
    EXPECT_EQ(ToQFont(Font("Arial", -12)).pixelSize(), 12);
    // A positive height is the whole cell, ascent plus descent.
    for (int cell : {16, 24, 40}) {
        QFontMetrics metrics(ToQFont(Font("Arial", cell)));
        EXPECT_NEAR(metrics.ascent() + metrics.descent(), cell, 1) << cell;
    }
    QFontMetrics unset(ToQFont(Font("Arial", 0)));
    EXPECT_NEAR(unset.ascent() + unset.descent(), 16, 1);
}

TEST(QtFont, SizesBeyondAnyScreenAreHeldAtTheLargest) {
    for (int size : {INT_MIN, INT_MIN + 1, INT_MAX}) {
        SCOPED_TRACE(size);
        LogFont font = Font("Arial", size);
        font.width = size;
        const QFont qfont = ToQFont(font);
        if (size < 0) {
            EXPECT_EQ(qfont.pixelSize(), LogFont::kMaxSize);
        }
        EXPECT_GT(qfont.pixelSize(), 0);
        EXPECT_LE(qfont.stretch(), 4000);
    }
}

TEST(QtFont, StyleFieldsCarryOver) {
    LogFont font = Font("Arial", -12, 700);
    font.italic = 1;
    font.underline = 1;
    font.strikeOut = 1;
    QFont qfont = ToQFont(font);
    EXPECT_EQ(qfont.weight(), QFont::Bold);
    EXPECT_TRUE(qfont.italic());
    EXPECT_TRUE(qfont.underline());
    EXPECT_TRUE(qfont.strikeOut());
    EXPECT_EQ(ToQFont(Font("Arial", -12, 0)).weight(), QFont::Normal);
}

TEST(QtFont, AGivenWidthStretchesTheCharacters) {
    LogFont narrow = Font("Arial", -20);
    narrow.width = 4;
    LogFont wide = narrow;
    wide.width = 16;
    QString text = "Generator";
    EXPECT_LT(QFontMetrics(ToQFont(narrow)).horizontalAdvance(text),
              QFontMetrics(ToQFont(Font("Arial", -20))).horizontalAdvance(text));
    EXPECT_GT(QFontMetrics(ToQFont(wide)).horizontalAdvance(text),
              QFontMetrics(ToQFont(Font("Arial", -20))).horizontalAdvance(text));
}

TEST(QtFont, AChosenFontChangesOnlyWhatAChooserShows) {
    LogFont font = Font("Arial", -12);
    font.escapement = 900;
    font.charSet = 238;
    font.pitchAndFamily = 34;
    QFont chosen("Liberation Serif");
    chosen.setPointSize(12);  // 16 pixels on a 96-dpi screen
    chosen.setWeight(QFont::Bold);
    chosen.setItalic(true);

    ApplyQFont(chosen, font);
    EXPECT_EQ(font.FaceName(), "Liberation Serif");
    EXPECT_EQ(font.height, -16);
    EXPECT_EQ(font.weight, 700);
    EXPECT_EQ(font.italic, 1);
    EXPECT_EQ(font.underline, 0);
    EXPECT_EQ(font.escapement, 900);
    EXPECT_EQ(font.charSet, 238);
    EXPECT_EQ(font.pitchAndFamily, 34);

    // The record holds 31 characters of a face name.
    ApplyQFont(QFont(QString(40, 'F')), font);
    EXPECT_EQ(font.FaceName(), std::string(31, 'F'));
}

// More fonts than the cache holds, asked for in turns and out of turn: each
// answer is the font and metrics of the LOGFONT asked for.
TEST(QtFontCache, EachAnswerIsTheFontAskedForAcrossEvictions) {
    QtFontCache cache;
    std::vector<LogFont> fonts;
    for (int height = -8; height >= -19; --height) fonts.push_back(Font("Arial", height));
    fonts.push_back(Font("Courier New", -12, 700));
    std::vector<std::size_t> order;
    for (int round = 0; round < 3; ++round) {
        for (std::size_t i = 0; i < fonts.size(); ++i) order.push_back((i * 5 + static_cast<std::size_t>(round)) % fonts.size());
        order.push_back(0);
    }
    for (std::size_t i : order) {
        const QtFontCache::Entry& entry = cache.Get(fonts[i]);
        QFont expected = ToQFont(fonts[i]);
        EXPECT_EQ(entry.key, fonts[i]);
        EXPECT_EQ(entry.font, expected) << i;
        EXPECT_EQ(entry.metrics.height(), QFontMetrics(expected).height()) << i;
    }
}

}  // namespace
