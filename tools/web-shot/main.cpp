// web-shot: a screenshot of an exported web page in headless Chromium, taken
// once the page has loaded its world.
//   web-shot [--size WxH] [--timeout SECONDS] [--serve FOLDER | URL] OUT.png
// --serve serves FOLDER on 127.0.0.1 (as "Open in Web Browser" does) and
// shows its index.html. Errors the page reports are printed; the exit status
// is 0 when the world loaded without any, 1 otherwise, 2 for wrong usage or
// a browser that cannot be driven.

#include "HeadlessBrowser.h"

#include "web/StaticServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: web-shot [--size WxH] [--timeout SECONDS] "
                         "[--serve FOLDER | URL] OUT.png\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    QSize size(1024, 640);
    int timeoutMs = 60000;
    QString folder;
    while (arguments.size() > 2) {
        const QString option = arguments.takeFirst();
        const QString value = arguments.takeFirst();
        if (option == QLatin1String("--size")) {
            const QStringList parts = value.split(QLatin1Char('x'));
            size = parts.size() == 2 ? QSize(parts[0].toInt(), parts[1].toInt()) : QSize();
            if (size.isEmpty())
                return usage();
        } else if (option == QLatin1String("--timeout")) {
            timeoutMs = value.toInt() * 1000;
        } else if (option == QLatin1String("--serve")) {
            folder = value;
            arguments.prepend(QString()); // the URL comes from the server
        } else {
            return usage();
        }
    }
    if (arguments.size() != 2 || timeoutMs <= 0)
        return usage();

    StaticServer server;
    QUrl url(arguments[0]);
    if (!folder.isEmpty()) {
        if (!server.start(folder)) {
            std::fprintf(stderr, "web-shot: %s\n", qPrintable(server.errorString()));
            return 2;
        }
        url = server.url().resolved(QUrl(QStringLiteral("index.html")));
    }

    QElapsedTimer clock;
    clock.start();
    HeadlessBrowser browser;
    if (!browser.start(size, timeoutMs) || !browser.navigate(url, timeoutMs)) {
        std::fprintf(stderr, "web-shot: %s\n", qPrintable(browser.error()));
        return 2;
    }
    const auto state = waitForWorld(browser, timeoutMs);
    const QImage shot = browser.screenshot(timeoutMs);
    if (shot.isNull() || !shot.save(arguments[1])) {
        std::fprintf(stderr, "web-shot: no screenshot: %s\n", qPrintable(browser.error()));
        return 2;
    }
    std::printf("%s: world %s after %.1f s\n", qPrintable(arguments[1]),
                state ? qPrintable(*state) : "not loaded in time", clock.elapsed() / 1000.0);
    for (const QString &error : browser.pageErrors())
        std::fprintf(stderr, "page error: %s\n", qPrintable(error));
    return state == QStringLiteral("loaded") && browser.pageErrors().isEmpty() ? 0 : 1;
}
