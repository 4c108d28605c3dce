#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <QTemporaryDir>

#include "profile.h"
#include "recent_file_list.h"

namespace {

std::string FileText(const QString& path) {
    std::ifstream in(path.toStdString());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Profile, SettingsWrittenAreReadBackFromTheIniFile) {
    QTemporaryDir folder;
    QString path = folder.filePath("tavrin.ini");
    {
        Profile profile(path);
        profile.WriteProfileLineWidth(3);
        profile.WriteProfileColors(Rgb(255, 0, 0), Rgb(0, 0, 255));
        profile.WriteProfileBackgroundColor(Rgb(1, 2, 3));
        profile.WriteProfileInt("Remote Host", "Port", 2504);
        profile.WriteProfileString("Remote Host", "Name", "solver.local");
    }
    std::string text = FileText(path);
    EXPECT_NE(text.find("[VisualSettings]"), std::string::npos);
    EXPECT_NE(text.find("LineColor=255\n"), std::string::npos);  // COLORREF: red in the lowest byte
    EXPECT_NE(text.find("FontColor=16711680\n"), std::string::npos);

    Profile profile(path);
    EXPECT_EQ(profile.GetProfileLineWidth(), 3);
    Profile::Colors colors = profile.GetProfileColors();
    EXPECT_EQ(colors.line, Rgb(255, 0, 0));
    EXPECT_EQ(colors.font, Rgb(0, 0, 255));
    EXPECT_EQ(colors.background, Rgb(1, 2, 3));
    EXPECT_EQ(profile.GetProfileInt("Remote Host", "Port", 2503), 2504);
    EXPECT_EQ(profile.GetProfileString("Remote Host", "Name"), "solver.local");
}

TEST(Profile, MissingOrBrokenValuesGiveTheDefaults) {
    QTemporaryDir folder;
    QString path = folder.filePath("tavrin.ini");
    std::ofstream(path.toStdString()) << "[VisualSettings]\nLineWidth=wide\n";
    Profile profile(path);
    EXPECT_EQ(profile.GetProfileLineWidth(), 0);
    Profile::Colors colors = profile.GetProfileColors();
    EXPECT_EQ(colors.line, 0u);
    EXPECT_EQ(colors.background, kWhite);
    EXPECT_EQ(profile.GetProfileInt("Remote Host", "Port", 2503), 2503);
}

TEST(Profile, AFontIsWrittenFieldByFieldAsSevenKeysOfTheIniFile) {
    QTemporaryDir folder;
    QString path = folder.filePath("tavrin.ini");
    LogFont font;
    font.SetFaceName("Arial \xC8");
    font.height = -12;
    font.weight = 700;
    font.italic = 1;
    font.underline = 1;
    font.pitchAndFamily = 34;
    font.charSet = 238;
    Profile profile(path);
    profile.WriteProfileFont(font);
    const std::string text = FileText(path);
    for (const char* line : {"[VisualSettings]\n", "Height=-12\n", "Weight=700\n", "Italic=1\n", "Underline=1\n",
                             "PitchAndFamily=34\n", "CharSet=238\n", "FaceName="}) {
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(profile.GetProfileString("VisualSettings", "FaceName"), QString::fromUtf8("Arial \u010C"));
}

TEST(RecentFileList, NewestFirstEachOnceAtMostFive) {
    RecentFileList list(5);
    for (const char* name : {"/a.pf", "/b.pf", "/c.pf", "/a.pf", "/d.pf", "/e.pf", "/f.pf"}) list.Add(name);
    EXPECT_EQ(list.Files(), (QStringList{"/f.pf", "/e.pf", "/d.pf", "/a.pf", "/c.pf"}));
    list.Remove("/d.pf");
    EXPECT_EQ(list.Files(), (QStringList{"/f.pf", "/e.pf", "/a.pf", "/c.pf"}));

    QTemporaryDir folder;
    Profile profile(folder.filePath("tavrin.ini"));
    list.WriteList(profile);
    EXPECT_EQ(profile.GetProfileString("Recent File List", "File1"), "/f.pf");
    RecentFileList read(5);
    read.ReadList(profile);
    EXPECT_EQ(read.Files(), list.Files());
    EXPECT_EQ(RecentFileList::MenuText(0, "/x/R&D.pf"), "&1 /x/R&&D.pf");
}

}  // namespace
