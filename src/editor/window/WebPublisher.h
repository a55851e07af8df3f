#pragma once
// "Open in Web Browser" of the preview window: writes the web page beside the
// exported world, serves ToGo on 127.0.0.1 and opens the default browser at
// the page. The server starts on first use and is kept for later clicks; it
// stops with the publisher, which the main window owns for the program's life.

#include "editor/platform/Platform.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>

class StaticServer;
class QWidget;

class WebPublisher : public QObject {
    Q_OBJECT

public:
    WebPublisher(const Platform &platform, const QString &programFolder, QObject *parent = nullptr);
    ~WebPublisher() override;

    // worldPath: the exported world in ToGo (the preview's BrowseFile). A
    // failure is shown in a message box over parent; returns whether the
    // browser was asked to show the page.
    bool openInWebBrowser(QWidget *parent, const QString &worldPath);

    // The page's address while it is served; empty before the first success.
    QUrl pageUrl() const;

private:
    Platform m_platform;
    QString m_programFolder;
    std::unique_ptr<StaticServer> m_server;
};
