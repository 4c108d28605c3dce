// The private file a remote solver server's network is written to.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "received_file.h"
#include "scoped_environment.h"

namespace {

std::string Text(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ReceivedFile, TakesTempElseTmpElseTheSystemsFolderJoinedWithOneSeparator) {
    QTemporaryDir temp;
    QTemporaryDir tmp;
    struct Case {
        std::optional<std::string> temp;
        std::optional<std::string> tmp;
        QString root;
    } cases[] = {
        {temp.path().toStdString(), tmp.path().toStdString(), temp.path()},
        {temp.path().toStdString() + "/", std::nullopt, temp.path()},
        {"", tmp.path().toStdString() + "/", tmp.path()},
        {std::nullopt, std::nullopt, QDir::tempPath()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.root.toStdString());
        ScopedEnvironment environment;
        environment.Set("TEMP", c.temp);
        environment.Set("TMP", c.tmp);
        ReceivedFile file;
        ASSERT_TRUE(file.Create());
        const QString path = file.Path();
        EXPECT_FALSE(path.contains("//")) << path.toStdString();
        const QFileInfo folder(QFileInfo(path).path());
        EXPECT_EQ(QFileInfo(folder.path()).canonicalFilePath(), QFileInfo(c.root).canonicalFilePath());
        EXPECT_EQ(QFileInfo(path).fileName(), "ObtainedFromRemoteSolver.pf");
        struct stat status {};
        ASSERT_EQ(::stat(folder.filePath().toLocal8Bit().constData(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0700u);
    }
}

TEST(ReceivedFile, ALinkPlacedWhereTheFileUsedToBeLeavesItsTargetAlone) {
    QTemporaryDir temp;
    const QString target = temp.filePath("precious.txt");
    std::ofstream(target.toStdString()) << "keep";
    ASSERT_TRUE(QFile::link(target, temp.filePath(ReceivedFile::kFileName)));
    ScopedEnvironment environment;
    environment.Set("TEMP", temp.path().toStdString());

    ReceivedFile file;
    ASSERT_TRUE(file.Create());
    ASSERT_TRUE(file.Write("network"));
    file.Finish();
    EXPECT_EQ(Text(target), "keep");
    EXPECT_EQ(Text(file.Path()), "network");
    EXPECT_NE(QFileInfo(file.Path()).path(), temp.path());
}

TEST(ReceivedFile, EachConnectionGetsAFolderOfItsOwnAndAnUnfinishedFileGoesWithIt) {
    QTemporaryDir temp;
    ScopedEnvironment environment;
    environment.Set("TEMP", temp.path().toStdString());
    ReceivedFile first;
    ASSERT_TRUE(first.Create());
    first.Finish();
    ReceivedFile second;
    ASSERT_TRUE(second.Create());
    EXPECT_NE(first.Path(), second.Path());
    ASSERT_TRUE(second.Write("half a net"));
    const QString unfinished = second.Path();
    second.Discard();
    EXPECT_FALSE(QFileInfo::exists(unfinished));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(unfinished).path()));
    EXPECT_TRUE(QFileInfo::exists(first.Path()));

    environment.Set("TEMP", temp.filePath("missing").toStdString());
    ReceivedFile nowhere;
    EXPECT_FALSE(nowhere.Create());
}

}  // namespace
