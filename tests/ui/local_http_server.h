// A minimal HTTP server on 127.0.0.1 that answers every GET with one page and
// records the requested paths; stands in for the maker's web site.
#pragma once

#include <QByteArray>
#include <QStringList>
#include <QTcpServer>
#include <string>

namespace imgcrypt::test {

class LocalHttpServer : public QObject {
  public:
    explicit LocalHttpServer(QByteArray page);
    bool listening() const { return server_.isListening(); }
    // "127.0.0.1:<port>", the form AppLocations::siteHost takes.
    std::string Host() const;
    const QStringList& requestedPaths() const { return paths_; }

  private:
    void Answer(QTcpSocket* socket);

    QTcpServer server_;
    QByteArray page_;
    QStringList paths_;
};

}  // namespace imgcrypt::test
