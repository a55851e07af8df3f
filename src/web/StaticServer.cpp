#include "web/StaticServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QMetaEnum>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

namespace {

using Code = QHttpServerResponder::StatusCode;

struct Located {
    Code code = Code::Ok;
    QString file; // canonical path when code is Ok
};

// The file that a request path names inside root (a canonical folder path).
// Dot segments, encoded separators, NUL and malformed UTF-8 are refused
// outright, whatever they would lead to; what is left must still resolve,
// symbolic links followed, to a file inside root.
Located locate(const QString &root, const QUrl &url)
{
    const QByteArray encoded = url.path(QUrl::FullyEncoded).toLatin1();
    if (!url.isValid() || !encoded.startsWith('/'))
        return {Code::BadRequest, {}};
    const QByteArray lower = encoded.toLower();
    if (lower.contains("%2f") || lower.contains("%5c") || lower.contains("%00"))
        return {Code::BadRequest, {}};
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString path = utf8(QByteArray::fromPercentEncoding(encoded));
    if (utf8.hasError() || path.contains(QLatin1Char('\\')))
        return {Code::BadRequest, {}};
    const QStringList segments = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &segment : segments)
        if (segment == QLatin1String(".") || segment == QLatin1String(".."))
            return {Code::BadRequest, {}};

    QFileInfo info(root + QLatin1Char('/') + segments.join(QLatin1Char('/')));
    if (info.isDir())
        info.setFile(info.filePath() + QLatin1String("/index.html"));
    const QString canonical = info.canonicalFilePath(); // empty when missing or a broken link
    if (canonical.isEmpty())
        return {Code::NotFound, {}};
    if (!canonical.startsWith(root + QLatin1Char('/')))
        return {Code::Forbidden, {}};
    if (!QFileInfo(canonical).isFile()) // a folder without index.html, a pipe, a device
        return {Code::NotFound, {}};
    return {Code::Ok, canonical};
}

// The values of every header of this name, in order.
QByteArrayList values(const QHttpServerRequest &request, const char *name)
{
    QByteArrayList found;
    for (const auto &[key, value] : request.headers())
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            found << value;
    return found;
}

// Only requests that name this server by its loopback name and port may read
// the folder, not a site whose name was made to point here (DNS rebinding).
// A missing or repeated Host, or one that is not a plain name and port, is
// malformed: URL parsers disagree on what such a value names.
Code checkHost(const QHttpServerRequest &request, quint16 port)
{
    const QByteArrayList hosts = values(request, "host");
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9.-]+(:[0-9]+)?$"));
    if (hosts.size() != 1 || !plain.match(QString::fromLatin1(hosts[0])).hasMatch())
        return Code::BadRequest;
    const QByteArray host = hosts[0].toLower(), suffix = ':' + QByteArray::number(port);
    if (host != "127.0.0.1" + suffix && host != "localhost" + suffix)
        return Code::MisdirectedRequest;
    return Code::Ok;
}

bool asksToClose(const QHttpServerRequest &request)
{
    for (const QByteArray &value : values(request, "connection"))
        for (const QByteArray &option : value.split(','))
            if (option.trimmed().compare("close", Qt::CaseInsensitive) == 0)
                return true;
    return false;
}

// One answer: HEAD gets the headers alone, and a connection about to close
// says so.
struct Answer {
    QHttpServerResponder &responder;
    bool head;
    bool close;

    // length: the body's size, sent for HEAD too.
    void send(Code code, const QByteArray &type, qint64 length, const QByteArray &body,
              const QByteArray &allow = {}) const
    {
        responder.writeStatusLine(code);
        responder.writeHeader("Content-Type", type);
        responder.writeHeader("Content-Length", QByteArray::number(length));
        // A new export replaces the files: the browser must ask again on reload.
        responder.writeHeader("Cache-Control", "no-cache");
        responder.writeHeader("X-Content-Type-Options", "nosniff");
        if (!allow.isEmpty())
            responder.writeHeader("Allow", allow);
        if (close)
            responder.writeHeader("Connection", "close");
        responder.writeBody(head ? QByteArray() : body);
    }

    void error(Code code, const QByteArray &allow = {}) const
    {
        const QByteArray text = QByteArray::number(int(code)) + ' ' +
                                QByteArray(QMetaEnum::fromType<Code>().valueToKey(int(code))) +
                                '\n';
        send(code, "text/plain; charset=utf-8", text.size(), text, allow);
    }
};

// The answer to a request for a file of root (a canonical folder path) from a
// server on port.
void respond(const QHttpServerRequest &request, const Answer &answer, const QString &root,
             quint16 port)
{
    const QHttpServerRequest::Method method = request.method();
    if (method != QHttpServerRequest::Method::Get && !answer.head)
        return answer.error(Code::MethodNotAllowed, "GET, HEAD");
    if (const Code host = checkHost(request, port); host != Code::Ok)
        return answer.error(host);
    const Located found = locate(root, request.url());
    QFile file(found.file);
    if (found.code != Code::Ok || !file.open(QIODevice::ReadOnly))
        return answer.error(found.code != Code::Ok ? found.code : Code::Forbidden);
    // The files of a world are small: read whole, they go out in one write.
    answer.send(Code::Ok, StaticServer::contentType(found.file), file.size(),
                answer.head ? QByteArray() : file.readAll());
}

// Accepts the server's connections: at most StaticServer::MaxConnections at
// once, each with a deadline for its next whole request.
class Listener : public QTcpServer {
public:
    explicit Listener(std::chrono::milliseconds timeout) : m_timeout(timeout) {}

    // Gives socket the whole time again, for its next request.
    static void restartDeadline(QTcpSocket *socket)
    {
        if (auto *deadline =
                socket->findChild<QTimer *>(deadlineName(), Qt::FindDirectChildrenOnly))
            deadline->start();
    }

protected:
    void incomingConnection(qintptr descriptor) override
    {
        auto socket = std::make_unique<QTcpSocket>(this);
        if (!socket->setSocketDescriptor(descriptor) || m_open == StaticServer::MaxConnections)
            return; // refused: closed on the way out, and accepted, so the listener is quiet
        ++m_open;
        connect(socket.get(), &QObject::destroyed, this, [this] { --m_open; });
        auto *deadline = new QTimer(socket.get());
        deadline->setObjectName(deadlineName());
        deadline->setSingleShot(true);
        deadline->setInterval(m_timeout);
        connect(deadline, &QTimer::timeout, socket.get(), &QTcpSocket::abort);
        deadline->start();
        addPendingConnection(socket.release());
    }

private:
    static QString deadlineName() { return QStringLiteral("deadline"); }

    std::chrono::milliseconds m_timeout;
    int m_open = 0;
};

} // namespace

StaticServer::StaticServer(QObject *parent) : QAbstractHttpServer(parent) {}

StaticServer::~StaticServer() = default;

bool StaticServer::start(const QString &folder)
{
    if (isListening()) {
        m_error = QStringLiteral("The server already serves \"%1\"")
                      .arg(QDir::toNativeSeparators(m_root));
        return false;
    }
    const QFileInfo info(folder);
    if (!info.isDir()) {
        m_error = QStringLiteral("Cannot serve \"%1\": the folder does not exist")
                      .arg(QDir::toNativeSeparators(folder));
        return false;
    }
    auto listener = std::make_unique<Listener>(m_requestTimeout);
    if (!listener->listen(QHostAddress::LocalHost, 0)) {
        m_error = QStringLiteral("Cannot serve \"%1\": %2")
                      .arg(QDir::toNativeSeparators(folder), listener->errorString());
        return false;
    }
    m_root = info.canonicalFilePath();
    m_port = listener->serverPort();
    bind(listener.release()); // which takes it as a child
    m_error.clear();
    return true;
}

QUrl StaticServer::url() const
{
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(m_port);
    url.setPath(QStringLiteral("/"));
    return url;
}

QByteArray StaticServer::contentType(const QString &fileName)
{
    static const QHash<QString, QByteArray> types{
        {QStringLiteral("html"), "text/html; charset=utf-8"},
        {QStringLiteral("htm"), "text/html; charset=utf-8"},
        {QStringLiteral("js"), "text/javascript; charset=utf-8"},
        {QStringLiteral("mjs"), "text/javascript; charset=utf-8"},
        {QStringLiteral("css"), "text/css; charset=utf-8"},
        {QStringLiteral("json"), "application/json"},
        {QStringLiteral("wasm"), "application/wasm"},
        {QStringLiteral("svg"), "image/svg+xml"},
        {QStringLiteral("woff2"), "font/woff2"},
        {QStringLiteral("wrl"), "model/vrml"},
        {QStringLiteral("jpg"), "image/jpeg"},
        {QStringLiteral("jpeg"), "image/jpeg"},
        {QStringLiteral("gif"), "image/gif"},
        {QStringLiteral("png"), "image/png"},
        {QStringLiteral("wav"), "audio/wav"},
        {QStringLiteral("mid"), "audio/midi"},
        {QStringLiteral("midi"), "audio/midi"},
        {QStringLiteral("mp3"), "audio/mpeg"},
        {QStringLiteral("txt"), "text/plain; charset=utf-8"},
        {QStringLiteral("md"), "text/markdown; charset=utf-8"},
    };
    return types.value(QFileInfo(fileName).suffix().toLower(), "application/octet-stream");
}

bool StaticServer::handleRequest(const QHttpServerRequest &request, QTcpSocket *socket)
{
    const bool close = asksToClose(request);
    {
        QHttpServerResponder responder = makeResponder(request, socket);
        respond(request, {responder, request.method() == QHttpServerRequest::Method::Head, close},
                m_root, m_port);
    }
    Listener::restartDeadline(socket); // also for the answer to go out
    if (close)
        socket->disconnectFromHost(); // once the answer is out
    return true;
}

void StaticServer::missingHandler(const QHttpServerRequest &request, QTcpSocket *socket)
{
    // handleRequest answers everything; this is only the base class's duty.
    QHttpServerResponder responder = makeResponder(request, socket);
    Answer{responder, request.method() == QHttpServerRequest::Method::Head, false}.error(
        Code::NotFound);
}
