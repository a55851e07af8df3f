#include "HeadlessBrowser.h"

#include <QDirIterator>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>

#include <functional>

namespace {

QString describe(const QJsonObject &remoteObject)
{
    if (remoteObject.contains(QLatin1String("value")))
        return remoteObject.value(QLatin1String("value")).toVariant().toString();
    return remoteObject.value(QLatin1String("description")).toString();
}

} // namespace

QString HeadlessBrowser::executable()
{
    const QString chosen = qEnvironmentVariable("LOTWRIGHT_CHROMIUM");
    if (!chosen.isEmpty())
        return chosen;
    for (const char *name : {"chromium", "chromium-browser", "google-chrome"})
        if (const QString found = QStandardPaths::findExecutable(QLatin1String(name));
            !found.isEmpty())
            return found;
    return {};
}

HeadlessBrowser::HeadlessBrowser()
{
    connect(&m_socket, &QWebSocket::textMessageReceived, this, &HeadlessBrowser::receive);
}

HeadlessBrowser::~HeadlessBrowser()
{
    // Asked to close, the browser ends its helper processes too; a signal to
    // the main process may leave them writing into the profile for a while.
    if (m_process.state() != QProcess::NotRunning && m_socket.isValid()) {
        m_session.clear();
        call(QStringLiteral("Browser.close"), {}, 5000);
        m_process.waitForFinished(10000);
    }
    m_socket.abort();
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    // The browser leaves read-only files in its profile, which would stay behind.
    for (QDirIterator it(m_profile.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        QFile file(it.next());
        file.setPermissions(file.permissions() | QFile::WriteOwner | QFile::ReadOwner |
                            QFile::ExeOwner);
    }
}

bool HeadlessBrowser::wait(const std::function<bool()> &done, int timeoutMs)
{
    if (done())
        return true;
    QEventLoop loop;
    const auto check = [&] {
        if (done())
            loop.quit();
    };
    // Whatever can make done() true arrives through one of these.
    const QList<QMetaObject::Connection> connections{
        connect(&m_socket, &QWebSocket::textMessageReceived, &loop, check),
        connect(&m_socket, &QWebSocket::connected, &loop, check),
        connect(&m_socket, &QWebSocket::disconnected, &loop, &QEventLoop::quit),
        connect(&m_process, &QProcess::readyReadStandardError, &loop, check),
        connect(&m_process, &QProcess::finished, &loop, &QEventLoop::quit),
    };
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    for (const QMetaObject::Connection &connection : connections)
        disconnect(connection);
    return done();
}

bool HeadlessBrowser::fail(const QString &message)
{
    m_error = message;
    return false;
}

bool HeadlessBrowser::start(const QSize &viewport, int timeoutMs)
{
    const QString program = executable();
    if (program.isEmpty())
        return fail(
            QStringLiteral("no Chromium found (install chromium or set LOTWRIGHT_CHROMIUM)"));
    if (!m_profile.isValid())
        return fail(QStringLiteral("cannot create a temporary profile folder"));
    // A closed network: no background connections, no updates, no sync.
    // WebGL without a GPU needs SwiftShader, which Chromium allows only when asked.
    const QStringList arguments{
        QStringLiteral("--headless"),
        QStringLiteral("--no-sandbox"),
        QStringLiteral("--disable-quic"),
        QStringLiteral("--no-first-run"),
        QStringLiteral("--no-default-browser-check"),
        QStringLiteral("--disable-background-networking"),
        QStringLiteral("--disable-component-update"),
        QStringLiteral("--disable-sync"),
        QStringLiteral("--disable-default-apps"),
        QStringLiteral("--mute-audio"),
        QStringLiteral("--hide-scrollbars"),
        QStringLiteral("--use-angle=swiftshader"),
        QStringLiteral("--enable-unsafe-swiftshader"),
        QStringLiteral("--user-data-dir=") + m_profile.path(),
        QStringLiteral("--window-size=%1,%2").arg(viewport.width()).arg(viewport.height()),
        QStringLiteral("--remote-debugging-port=0"),
        QStringLiteral("about:blank"),
    };
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start(program, arguments);
    if (!m_process.waitForStarted(timeoutMs))
        return fail(QStringLiteral("%1 does not start: %2").arg(program, m_process.errorString()));

    // The browser names its DevTools address on its error output.
    static const QRegularExpression listening(QStringLiteral("DevTools listening on (ws://\\S+)"));
    QString output, address;
    const bool found = wait(
        [&] {
            output += QString::fromLocal8Bit(m_process.readAllStandardError());
            const QRegularExpressionMatch match = listening.match(output);
            if (match.hasMatch())
                address = match.captured(1);
            return !address.isEmpty();
        },
        timeoutMs);
    if (!found)
        return fail(QStringLiteral("%1 did not open its DevTools port: %2")
                        .arg(program, output.right(2000).trimmed()));

    m_socket.open(QUrl(address));
    if (!wait([&] { return m_socket.state() == QAbstractSocket::ConnectedState; }, timeoutMs))
        return fail(
            QStringLiteral("cannot connect to %1: %2").arg(address, m_socket.errorString()));

    const auto targets = call(QStringLiteral("Target.getTargets"), {}, timeoutMs);
    if (!targets)
        return false;
    QString page;
    for (const QJsonValue &target : targets->value(QLatin1String("targetInfos")).toArray())
        if (target[QLatin1String("type")].toString() == QLatin1String("page"))
            page = target[QLatin1String("targetId")].toString();
    if (page.isEmpty())
        return fail(QStringLiteral("the browser shows no page"));
    const auto attached = call(QStringLiteral("Target.attachToTarget"),
                               {{"targetId", page}, {"flatten", true}}, timeoutMs);
    if (!attached)
        return false;
    m_session = attached->value(QLatin1String("sessionId")).toString();
    for (const char *domain : {"Runtime.enable", "Log.enable", "Page.enable"})
        if (!call(QLatin1String(domain), {}, timeoutMs))
            return false;
    return call(QStringLiteral("Emulation.setDeviceMetricsOverride"),
                {{"width", viewport.width()},
                 {"height", viewport.height()},
                 {"deviceScaleFactor", 1},
                 {"mobile", false}},
                timeoutMs)
        .has_value();
}

std::optional<QJsonObject> HeadlessBrowser::call(const QString &method, const QJsonObject &params,
                                                 int timeoutMs)
{
    const int id = ++m_lastId;
    QJsonObject message{{"id", id}, {"method", method}, {"params", params}};
    if (!m_session.isEmpty())
        message.insert(QLatin1String("sessionId"), m_session);
    m_socket.sendTextMessage(
        QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact)));
    if (!wait([&] { return m_replies.contains(id); }, timeoutMs)) {
        fail(QStringLiteral("%1: no answer within %2 ms").arg(method).arg(timeoutMs));
        return std::nullopt;
    }
    const QJsonObject reply = m_replies.take(id);
    if (reply.contains(QLatin1String("error"))) {
        fail(method + QStringLiteral(": ") +
             reply.value(QLatin1String("error"))[QLatin1String("message")].toString());
        return std::nullopt;
    }
    return reply.value(QLatin1String("result")).toObject();
}

void HeadlessBrowser::receive(const QString &text)
{
    const QJsonObject message = QJsonDocument::fromJson(text.toUtf8()).object();
    if (message.contains(QLatin1String("id"))) {
        m_replies.insert(message.value(QLatin1String("id")).toInt(), message);
        return;
    }
    const QString method = message.value(QLatin1String("method")).toString();
    const QJsonObject params = message.value(QLatin1String("params")).toObject();
    if (method == QLatin1String("Page.loadEventFired"))
        ++m_pageLoads;
    else if (method == QLatin1String("Runtime.consoleAPICalled") &&
             params.value(QLatin1String("type")).toString() == QLatin1String("error")) {
        QStringList parts;
        for (const QJsonValue &argument : params.value(QLatin1String("args")).toArray())
            parts << describe(argument.toObject());
        m_pageErrors << QStringLiteral("console.error: ") + parts.join(QLatin1Char(' '));
    } else if (method == QLatin1String("Runtime.exceptionThrown")) {
        const QJsonObject details = params.value(QLatin1String("exceptionDetails")).toObject();
        m_pageErrors << QStringLiteral("exception: ") +
                            describe(details.value(QLatin1String("exception")).toObject()) +
                            QLatin1Char(' ') + details.value(QLatin1String("text")).toString();
    } else if (method == QLatin1String("Log.entryAdded")) {
        const QJsonObject entry = params.value(QLatin1String("entry")).toObject();
        if (entry.value(QLatin1String("level")).toString() == QLatin1String("error"))
            m_pageErrors << entry.value(QLatin1String("text")).toString() + QLatin1Char(' ') +
                                entry.value(QLatin1String("url")).toString();
    }
}

bool HeadlessBrowser::navigate(const QUrl &url, int timeoutMs)
{
    const int loads = m_pageLoads;
    const auto result = call(QStringLiteral("Page.navigate"), {{"url", url.toString()}}, timeoutMs);
    if (!result)
        return false;
    if (const QString problem = result->value(QLatin1String("errorText")).toString();
        !problem.isEmpty())
        return fail(QStringLiteral("cannot open %1: %2").arg(url.toString(), problem));
    // Done when the page's own load event has fired: its scripts have run.
    if (!wait([&] { return m_pageLoads > loads; }, timeoutMs))
        return fail(QStringLiteral("%1 did not finish loading").arg(url.toString()));
    return true;
}

std::optional<QJsonValue> HeadlessBrowser::evaluate(const QString &expression, int timeoutMs)
{
    const auto result = call(
        QStringLiteral("Runtime.evaluate"),
        {{"expression", expression}, {"awaitPromise", true}, {"returnByValue", true}}, timeoutMs);
    if (!result)
        return std::nullopt;
    if (result->contains(QLatin1String("exceptionDetails"))) {
        const QJsonObject details = result->value(QLatin1String("exceptionDetails")).toObject();
        fail(QStringLiteral("the script failed: ") +
             describe(details.value(QLatin1String("exception")).toObject()));
        return std::nullopt;
    }
    return result->value(QLatin1String("result"))[QLatin1String("value")];
}

QImage HeadlessBrowser::screenshot(int timeoutMs)
{
    const auto result =
        call(QStringLiteral("Page.captureScreenshot"), {{"format", "png"}}, timeoutMs);
    if (!result)
        return {};
    return QImage::fromData(
        QByteArray::fromBase64(result->value(QLatin1String("data")).toString().toLatin1()), "PNG");
}

std::optional<QString> waitForWorld(HeadlessBrowser &browser, int timeoutMs)
{
    // The page marks <html data-world> when its player's load event has been
    // handled; the promise settles on "loaded" or "failed".
    const QString script = QStringLiteral(R"(new Promise(resolve => {
        const settled = () => ["loaded", "failed"].includes(document.documentElement.dataset.world);
        if (settled()) return resolve(document.documentElement.dataset.world);
        new MutationObserver(() => { if (settled()) resolve(document.documentElement.dataset.world); })
            .observe(document.documentElement, { attributes: true });
    }))");
    const auto state = browser.evaluate(script, timeoutMs);
    if (!state)
        return std::nullopt;
    return state->toString();
}
