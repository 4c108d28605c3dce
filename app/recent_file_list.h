#pragma once

#include <QString>
#include <QStringList>

class Profile;

// The files opened or saved last, the newest first, at most `size` of them,
// each once. Kept in the profile section "Recent File List" as "File1" ...
class RecentFileList {
public:
    static constexpr const char* kSection = "Recent File List";

    explicit RecentFileList(int size) : size_(size) {}

    const QStringList& Files() const { return files_; }
    int Size() const { return size_; }

    // Puts the file first; the oldest falls off the end.
    void Add(const QString& path);
    void Remove(const QString& path);

    void ReadList(const Profile& profile);
    void WriteList(Profile& profile) const;

    // "&1 name" for the menu: the index from 1 and the path.
    static QString MenuText(int index, const QString& path);

private:
    int size_;
    QStringList files_;
};
