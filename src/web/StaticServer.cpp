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

// Only requests that name this server by its loopback name and port may read
// the folder, not a site whose name was made to point here (DNS rebinding).
// A missing or repeated Host, or one that is not a plain name and port, is
// malformed: URL parsers disagree on what such a value names.
Code checkHost(const QHttpServerRequest &request, quint16 port)
{
    QByteArrayList hosts;
    for (const auto &[name, value] : request.headers())
        if (name.compare("host", Qt::CaseInsensitive) == 0)
            hosts << value;
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9.-]+(:[0-9]+)?$"));
    if (hosts.size() != 1 || !plain.match(QString::fromLatin1(hosts[0])).hasMatch())
        return Code::BadRequest;
    const QByteArray host = hosts[0].toLower(), suffix = ':' + QByteArray::number(port);
    if (host != "127.0.0.1" + suffix && host != "localhost" + suffix)
        return Code::MisdirectedRequest;
    return Code::Ok;
}

// length: the body's size; body: empty for HEAD, which gets the headers alone.
void answer(QHttpServerResponder &responder, Code code, const QByteArray &type, qint64 length,
            const QByteArray &body, const QByteArray &allow = {})
{
    responder.writeStatusLine(code);
    responder.writeHeader("Content-Type", type);
    responder.writeHeader("Content-Length", QByteArray::number(length));
    // A new export replaces the files: the browser must ask again on reload.
    responder.writeHeader("Cache-Control", "no-cache");
    responder.writeHeader("X-Content-Type-Options", "nosniff");
    if (!allow.isEmpty())
        responder.writeHeader("Allow", allow);
    responder.writeBody(body);
}

void answerError(QHttpServerResponder &responder, Code code, bool head,
                 const QByteArray &allow = {})
{
    const QByteArray text = QByteArray::number(int(code)) + ' ' +
                            QByteArray(QMetaEnum::fromType<Code>().valueToKey(int(code))) + '\n';
    answer(responder, code, "text/plain; charset=utf-8", text.size(), head ? QByteArray() : text,
           allow);
}

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
    m_root = info.canonicalFilePath();
    m_port = listen(QHostAddress::LocalHost, 0);
    if (m_port == 0) {
        const QList<QTcpServer *> tcp = servers();
        m_error = QStringLiteral("Cannot serve \"%1\": %2")
                      .arg(QDir::toNativeSeparators(folder), tcp.isEmpty()
                                                                 ? QStringLiteral("no port is free")
                                                                 : tcp.constLast()->errorString());
        return false;
    }
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
    QHttpServerResponder responder = makeResponder(request, socket);
    const QHttpServerRequest::Method method = request.method();
    const bool head = method == QHttpServerRequest::Method::Head;
    if (method != QHttpServerRequest::Method::Get && !head) {
        answerError(responder, Code::MethodNotAllowed, false, "GET, HEAD");
        return true;
    }
    if (const Code host = checkHost(request, m_port); host != Code::Ok) {
        answerError(responder, host, head);
        return true;
    }
    const Located found = locate(m_root, request.url());
    QFile file(found.file);
    if (found.code != Code::Ok || !file.open(QIODevice::ReadOnly)) {
        answerError(responder, found.code != Code::Ok ? found.code : Code::Forbidden, head);
        return true;
    }
    // The files of a world are small: read whole, they go out in one write.
    answer(responder, Code::Ok, contentType(found.file), file.size(),
           head ? QByteArray() : file.readAll());
    return true;
}

void StaticServer::missingHandler(const QHttpServerRequest &request, QTcpSocket *socket)
{
    // handleRequest answers everything; this is only the base class's duty.
    QHttpServerResponder responder = makeResponder(request, socket);
    answerError(responder, Code::NotFound, request.method() == QHttpServerRequest::Method::Head);
}
