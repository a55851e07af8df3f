#include "editor/window/WebPublisher.h"

#include "web/StaticServer.h"
#include "core/vrml/WebPage.h"

#include <QDir>
#include <QFileInfo>

WebPublisher::WebPublisher(const Platform &platform, const QString &programFolder, QObject *parent)
    : QObject(parent), m_platform(platform), m_programFolder(programFolder)
{
}

WebPublisher::~WebPublisher() = default;

QUrl WebPublisher::pageUrl() const { return m_server ? m_server->url() : QUrl(); }

bool WebPublisher::openInWebBrowser(QWidget *parent, const QString &worldPath)
{
    const auto refuse = [&](const QString &reason) {
        m_platform.messages->warn(
            parent, tr("The world cannot be shown in a web browser.\n%1").arg(reason));
        return false;
    };
    const QFileInfo world(worldPath);
    if (!world.isFile())
        return refuse(tr("The world file \"%1\" does not exist: export the world first.")
                          .arg(QDir::toNativeSeparators(worldPath)));
    if (Status written = WebPage::write(m_programFolder, worldPath); !written)
        return refuse(written.error);

    // One server for the folder; another folder (never the case for ToGo) gets a new one.
    const QString folder = QFileInfo(world.absolutePath()).canonicalFilePath();
    if (!m_server || m_server->folder() != folder) {
        auto server = std::make_unique<StaticServer>();
        if (!server->start(folder))
            return refuse(server->errorString());
        m_server = std::move(server);
    }
    if (!m_platform.shell->openUrl(m_server->url())) {
        m_platform.messages->warn(
            parent, tr("No web browser could be opened.\nThe world is served at %1 until "
                       "Lotwright ends: open that address in a web browser.")
                        .arg(m_server->url().toString()));
        return false;
    }
    return true;
}
