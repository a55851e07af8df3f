#pragma once
// Headless Chromium driven through its DevTools protocol: load a page, run a
// script in it and wait for its promise, collect what the page reports as an
// error, take a screenshot. Used by tools/web-shot and tst_web_browser.

#include <QHash>
#include <QImage>
#include <QJsonObject>
#include <QProcess>
#include <QSize>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <QWebSocket>

#include <functional>
#include <optional>

class HeadlessBrowser : public QObject {
    Q_OBJECT

public:
    // The browser program: LOTWRIGHT_CHROMIUM when set, else chromium (or
    // chromium-browser, google-chrome) on the PATH; empty when there is none.
    static QString executable();

    HeadlessBrowser();
    ~HeadlessBrowser() override; // ends the browser

    // Starts the browser with a fresh profile and a page of the given size.
    bool start(const QSize &viewport, int timeoutMs);
    // Opens a page and waits for its load event.
    bool navigate(const QUrl &url, int timeoutMs);
    // Evaluates an expression in the page; a promise is awaited. The value,
    // or nothing on an exception or time-out (see error()).
    std::optional<QJsonValue> evaluate(const QString &expression, int timeoutMs);
    QImage screenshot(int timeoutMs);

    QString error() const { return m_error; }
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    // console.error calls, uncaught exceptions and failed loads, in order.
    QStringList pageErrors() const { return m_pageErrors; }

private:
    std::optional<QJsonObject> call(const QString &method, const QJsonObject &params,
                                    int timeoutMs);
    void receive(const QString &message);
    // Runs the event loop until done() holds, the time is up or the browser ends.
    bool wait(const std::function<bool()> &done, int timeoutMs);
    bool fail(const QString &message);

    QProcess m_process;
    QTemporaryDir m_profile;
    QWebSocket m_socket;
    QString m_session; // the page's session on the browser connection
    int m_lastId = 0;
    int m_pageLoads = 0; // load events of the page so far
    QHash<int, QJsonObject> m_replies;
    QStringList m_pageErrors;
    QString m_error;
};

// Waits until the exported page has loaded its world and made it look as
// VRML97 says ("loaded"), or found it cannot ("failed"); nothing on time-out.
std::optional<QString> waitForWorld(HeadlessBrowser &browser, int timeoutMs);
