#pragma once

#include <string_view>
#include <vector>

#include <QAbstractSocket>
#include <QObject>

#include "host_resolver.h"
#include "received_file.h"
#include "remote_receiver.h"

class CTavrinApp;
class CTavrinDoc;
class QTcpSocket;

// The program's one connection to a remote solver server. It asks for the
// host, connects, writes the network the server sends to a private file,
// opens it as the remote document and hands the result lines after it to
// that document; commands go back as raw bytes. Every end of a connection,
// whoever asks for it, goes through Close.
class RemoteSolverLink : public QObject {
public:
    static constexpr const char* kHostSection = "Remote Host";  // of the settings: "Name" and "Port"
    static constexpr int kConnectTimeout = 10000;              // milliseconds
    static constexpr qint64 kBlockSize = 4096;     // bytes read from the socket at a time
    static constexpr const char* kWrongHostName = "Wrong host name!";
    static constexpr const char* kHostNotFound = "Wrong host name or number!";
    static constexpr const char* kCannotConnect =
        "Cannot connect! Probably server not ready or there is no internet connection.";
    static constexpr const char* kSocketProblem = "A server socket message handling problem!!!";
    static constexpr const char* kCannotCreateFile = "Cannot create temp file!";
    static constexpr const char* kCannotWriteFile = "Cannot write temp file!";

    explicit RemoteSolverLink(CTavrinApp& application);
    ~RemoteSolverLink() override;

    // The Connect command: ends the connection there is, asks for the host
    // and port (keeping them in the settings), and connects.
    void Connect();

    bool IsOpen() const { return socket_ != nullptr; }
    // The document opened from the network this connection received; null
    // before it opens and once the connection ends.
    CTavrinDoc* RemoteDocument() const { return remoteDocument_; }

    // Sends the bytes as they are; false when there is no connection.
    bool Send(std::string_view bytes);
    // Closes the socket, forgets the remote document, starts the receiver
    // over and removes a network not received whole.
    void Close();
    // The document is going; the connection has nothing left to apply
    // results to when it is the remote document.
    void DocumentGoing(const CTavrinDoc& document);

    // Whom host names are resolved by; null: the system's resolver.
    void SetResolver(HostResolver* resolver) { resolver_ = resolver != nullptr ? resolver : &systemResolver_; }

private:
    // Connects to the host at the port, waiting at most kConnectTimeout
    // under the wait cursor; false, the user told why, when it cannot.
    bool ConnectTo(const QString& host, int port);
    // The socket's signals. A message box shown inside one runs an event
    // loop of its own, in which the connection may end; the socket is then
    // deleted only once every handler has returned.
    void OnReadyRead();
    void OnDisconnected();
    void OnError(QAbstractSocket::SocketError error);
    // Feeds the receiver every block waiting on the socket; never runs
    // twice at once.
    void Drain();
    // Stops at the first action that ended the connection.
    void Carry(std::vector<RemoteAction> actions);
    void Carry(RemoteAction& action);
    void OpenRemoteDocument();
    void Tell(const QString& text);

    // Counts the socket handlers running; while one is, a closed socket
    // waits in `retired_`.
    class HandlerScope;

    CTavrinApp& application_;
    SystemHostResolver systemResolver_;
    HostResolver* resolver_ = &systemResolver_;
    QTcpSocket* socket_ = nullptr;
    CTavrinDoc* remoteDocument_ = nullptr;
    RemoteReceiver receiver_;
    ReceivedFile file_;
    // Changes whenever a connection is made or ends: what was started for
    // one connection stops when it changed.
    unsigned connection_ = 0;
    bool draining_ = false;
    bool serverClosed_ = false;
    int runningHandlers_ = 0;
    std::vector<QTcpSocket*> retired_;
};
