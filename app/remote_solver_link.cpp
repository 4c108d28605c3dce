#include "remote_solver_link.h"

#include <QTcpSocket>

void RemoteSolverLink::Open(QTcpSocket* socket, CDocument* remoteDocument) {
    Close();
    socket_ = socket;
    remoteDocument_ = remoteDocument;
}

bool RemoteSolverLink::Send(std::string_view bytes) {
    if (socket_ == nullptr) return false;
    return socket_->write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}

void RemoteSolverLink::Close() {
    remoteDocument_ = nullptr;
    if (socket_ == nullptr) return;
    QTcpSocket* socket = socket_;
    socket_ = nullptr;
    socket->close();
    socket->deleteLater();
}
