#pragma once

#include <string_view>

class CDocument;
class QTcpSocket;

// The program's one connection to a remote solver server and the network
// document that holds the server's copy. Every close of the connection goes
// through Close, whoever asks for it.
class RemoteSolverLink {
public:
    RemoteSolverLink() = default;
    RemoteSolverLink(const RemoteSolverLink&) = delete;
    RemoteSolverLink& operator=(const RemoteSolverLink&) = delete;
    ~RemoteSolverLink() { Close(); }

    bool IsOpen() const { return socket_ != nullptr; }
    // Takes over a connected socket; the document holds the server's copy.
    void Open(QTcpSocket* socket, CDocument* remoteDocument);
    CDocument* RemoteDocument() const { return remoteDocument_; }

    // Sends the bytes as they are; false when there is no connection.
    bool Send(std::string_view bytes);
    // Forgets the remote document and closes the socket; nothing when closed.
    void Close();

private:
    QTcpSocket* socket_ = nullptr;
    CDocument* remoteDocument_ = nullptr;
};
