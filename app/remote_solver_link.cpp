#include "remote_solver_link.h"

#include <array>
#include <optional>
#include <utility>

#include <QTcpSocket>

#include "network_dialogs.h"
#include "profile.h"
#include "prompt_service.h"
#include "tavrin_app.h"
#include "tavrin_doc.h"
#include "wait_cursor.h"
#include "windows_1250.h"

class RemoteSolverLink::HandlerScope {
public:
    explicit HandlerScope(RemoteSolverLink& link) : link_(link) { ++link_.runningHandlers_; }
    ~HandlerScope() {
        if (--link_.runningHandlers_ > 0) return;
        for (QTcpSocket* socket : std::exchange(link_.retired_, {})) socket->deleteLater();
    }
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

private:
    RemoteSolverLink& link_;
};

RemoteSolverLink::RemoteSolverLink(CTavrinApp& application) : application_(application) {}

RemoteSolverLink::~RemoteSolverLink() { Close(); }

void RemoteSolverLink::Connect() {
    Close();
    Profile& profile = application_.GetProfile();
    const RemoteHost stored{ToWindows1250(profile.GetProfileString(kHostSection, "Name")),
                            profile.GetProfileInt(kHostSection, "Port", RemoteHost{}.port)};
    const std::optional<RemoteHost> chosen = application_.NetworkDialogs().EditHostSettings(stored);
    if (!chosen) return;
    const QString host = FromWindows1250(chosen->name);
    profile.WriteProfileString(kHostSection, "Name", host);
    profile.WriteProfileInt(kHostSection, "Port", chosen->port);
    ConnectTo(host, chosen->port);
}

bool RemoteSolverLink::ConnectTo(const QString& host, int port) {
    Close();
    if (host.size() <= 2) {
        Tell(kWrongHostName);
        return false;
    }
    auto* socket = new QTcpSocket(this);
    bool connected = false;
    std::optional<QHostAddress> address;
    {
        WaitCursor wait;
        address = resolver_->Resolve(host);
        if (address) {
            socket->connectToHost(*address, static_cast<quint16>(port));
            connected = socket->waitForConnected(kConnectTimeout);
        }
    }
    if (!connected) {
        delete socket;
        Tell(address ? kCannotConnect : kHostNotFound);
        return false;
    }
    socket_ = socket;
    ++connection_;
    serverClosed_ = false;
    connect(socket, &QTcpSocket::readyRead, this, &RemoteSolverLink::OnReadyRead);
    connect(socket, &QTcpSocket::disconnected, this, &RemoteSolverLink::OnDisconnected);
    connect(socket, &QTcpSocket::errorOccurred, this, &RemoteSolverLink::OnError);
    return true;
}

bool RemoteSolverLink::Send(std::string_view bytes) {
    if (socket_ == nullptr) return false;
    return socket_->write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}

void RemoteSolverLink::Close() {
    ++connection_;
    remoteDocument_ = nullptr;
    receiver_.Reset();
    file_.Discard();
    if (socket_ == nullptr) return;
    QTcpSocket* socket = std::exchange(socket_, nullptr);
    socket->disconnect(this);
    // Aborting a socket that is already down, inside its own disconnected
    // signal, would run its tear-down a second time.
    if (socket->state() != QAbstractSocket::UnconnectedState) socket->abort();
    if (runningHandlers_ > 0) {
        retired_.push_back(socket);
    } else {
        socket->deleteLater();
    }
}

void RemoteSolverLink::DocumentGoing(const CTavrinDoc& document) {
    if (&document == remoteDocument_) Close();
}

void RemoteSolverLink::OnReadyRead() {
    HandlerScope scope(*this);
    Drain();
}

void RemoteSolverLink::OnDisconnected() {
    HandlerScope scope(*this);
    serverClosed_ = true;
    Drain();
}

void RemoteSolverLink::OnError(QAbstractSocket::SocketError error) {
    HandlerScope scope(*this);
    // The server closing is the disconnected signal's.
    if (error != QAbstractSocket::RemoteHostClosedError) Tell(kSocketProblem);
}

void RemoteSolverLink::Drain() {
    if (draining_) return;  // the outer call reads on when the message it shows is closed
    draining_ = true;
    const unsigned connection = connection_;
    std::array<char, kBlockSize> block;
    while (connection_ == connection && socket_ != nullptr) {
        const qint64 read = socket_->read(block.data(), kBlockSize);
        if (read > 0) {
            Carry(receiver_.Feed({block.data(), static_cast<std::size_t>(read)}));
            continue;
        }
        // A read error is taken as the server closing.
        if (read < 0 || serverClosed_) Carry(receiver_.ServerClosed());
        break;
    }
    draining_ = false;
}

void RemoteSolverLink::Carry(std::vector<RemoteAction> actions) {
    const unsigned connection = connection_;
    for (RemoteAction& action : actions) {
        Carry(action);
        if (connection_ != connection) return;
    }
}

void RemoteSolverLink::Carry(RemoteAction& action) {
    switch (action.kind) {
        case RemoteAction::Kind::CreateFile:
            if (file_.Create()) return;
            Tell(kCannotCreateFile);
            return Close();
        case RemoteAction::Kind::WriteFile:
            if (file_.Write(action.bytes)) return;
            Tell(kCannotWriteFile);
            return Close();
        case RemoteAction::Kind::OpenDocument: return OpenRemoteDocument();
        case RemoteAction::Kind::ResultLine:
            if (remoteDocument_ != nullptr) remoteDocument_->ReadResultLine(action.bytes);
            return;
        case RemoteAction::Kind::Message: return Tell(QString::fromLatin1(action.bytes));
        case RemoteAction::Kind::Close: return Close();
    }
}

void RemoteSolverLink::OpenRemoteDocument() {
    file_.Finish();
    const unsigned connection = connection_;
    // A document that cannot be read has told the user why; without it
    // there is nothing to apply the results to.
    auto* document = dynamic_cast<CTavrinDoc*>(application_.OpenDocumentFile(file_.Path(), false));
    if (connection_ != connection) return;
    if (document == nullptr) return Close();
    remoteDocument_ = document;
    document->SetRemote(true);
}

void RemoteSolverLink::Tell(const QString& text) {
    application_.Prompts().Ask(text, {}, PromptIcon::Warning, PromptButtons::Ok);
}
