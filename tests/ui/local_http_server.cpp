#include "local_http_server.h"

#include <QTcpSocket>

namespace imgcrypt::test {

LocalHttpServer::LocalHttpServer(QByteArray page) : page_(std::move(page)) {
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Answer(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    server_.listen(QHostAddress::LocalHost);
}

std::string LocalHttpServer::Host() const {
    return "127.0.0.1:" + std::to_string(server_.serverPort());
}

void LocalHttpServer::Answer(QTcpSocket* socket) {
    // Wait for the whole request head.
    if (!socket->peek(64 * 1024).contains("\r\n\r\n")) return;
    const QByteArray head = socket->readAll();
    const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
    if (requestLine.size() >= 2) paths_ << QString::fromLatin1(requestLine.at(1));
    QByteArray response = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n";
    response += "Content-Length: " + QByteArray::number(page_.size()) + "\r\n";
    response += "Connection: close\r\n\r\n" + page_;
    socket->write(response);
    socket->disconnectFromHost();
}

}  // namespace imgcrypt::test
