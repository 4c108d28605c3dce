#pragma once

#include <string_view>

#include <QFile>
#include <QString>

// The file a remote solver server's network is written to before it opens
// as a document. Each connection makes it in a new folder of its own,
// readable by the user alone, inside "TEMP", else "TMP", else the system's
// temporary folder; so no one else can put a file or a link in its place,
// and a network of an earlier connection is never mistaken for it.
class ReceivedFile {
public:
    // Gives the document its title.
    static constexpr const char* kFileName = "ObtainedFromRemoteSolver.pf";

    ReceivedFile() = default;
    ReceivedFile(const ReceivedFile&) = delete;
    ReceivedFile& operator=(const ReceivedFile&) = delete;
    ~ReceivedFile() { Discard(); }

    // The folder the private folders are made in.
    static QString TemporaryRoot();

    // A new folder and the empty file in it; false, with nothing left
    // behind, when either cannot be made.
    bool Create();
    bool Write(std::string_view bytes);
    // Closes the whole file; it stays where it is, and Path() names it.
    void Finish();
    // Removes a file that was not finished, with its folder.
    void Discard();

    QString Path() const { return file_.fileName(); }

private:
    QFile file_;
    QString folder_;
};
