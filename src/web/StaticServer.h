#pragma once
// A static file server for one folder on 127.0.0.1, so that a browser can
// play the exported world: browsers refuse the player's modules and the world
// itself on a page opened as a plain file.
//
// It answers GET and HEAD for files inside the folder only: no listing, no
// path that leaves the folder in any spelling ("..", encoded dots or slashes,
// symbolic links leading out), nothing from other hosts. A folder's own
// index.html answers for the folder. It stops when it is destroyed.
//
// A page on any site can make the browser connect here, and any program on the
// computer can: so connections are few and short. Each has RequestTimeout for
// every whole request, counted from its opening or the previous answer, and
// the server holds at most MaxConnections at once, closing any more as soon
// as they come.

#include <QAbstractHttpServer>
#include <QByteArray>
#include <QString>
#include <QUrl>

#include <chrono>

class StaticServer : public QAbstractHttpServer {
    Q_OBJECT

public:
    // A browser opens six connections to a server; 64 leave room for a few
    // tabs and reloads yet stay far below the 1,024 descriptors a process
    // may commonly hold, some of which the editor needs for itself.
    static constexpr int MaxConnections = 64;
    // Far longer than a browser on this computer takes for a request; one
    // that kept a connection idle for later simply opens another.
    static constexpr std::chrono::milliseconds RequestTimeout = std::chrono::seconds(10);

    explicit StaticServer(QObject *parent = nullptr);
    ~StaticServer() override;

    // Replaces RequestTimeout, so that tests need not wait for it; before start.
    void setRequestTimeout(std::chrono::milliseconds timeout) { m_requestTimeout = timeout; }

    // Listens on 127.0.0.1 at a port the system picks and serves folder.
    // False when the folder does not exist, no port could be had or the server
    // already runs; see errorString. One server serves one folder.
    bool start(const QString &folder);

    bool isListening() const { return m_port != 0; }
    quint16 port() const { return m_port; }
    QString folder() const { return m_root; } // canonical, empty before start
    QUrl url() const;                         // http://127.0.0.1:PORT/
    QString errorString() const { return m_error; }

    // The Content-Type sent for a file name.
    static QByteArray contentType(const QString &fileName);

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override;
    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override;

private:
    QString m_root;
    quint16 m_port = 0;
    QString m_error;
    std::chrono::milliseconds m_requestTimeout = RequestTimeout;
};
