#include "core/vrml/WebPage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace WebPage {

QString html(const QString &worldFileName)
{
    QFile page(QStringLiteral(":/web/index.html"));
    if (!page.open(QIODevice::ReadOnly))
        qFatal("the web page template is missing from the program's resources");
    QString text = QString::fromUtf8(page.readAll());
    const QString title = QFileInfo(worldFileName).completeBaseName();
    // The world's address relative to the page: its name, percent-encoded.
    const QString address = QString::fromLatin1(QUrl::toPercentEncoding(worldFileName));
    text.replace(QLatin1String("@TITLE@"), title.toHtmlEscaped());
    text.replace(QLatin1String("@WORLD@"), address.toHtmlEscaped());
    return text;
}

Status write(const QString &programFolder, const QString &worldPath)
{
    const QString player = Files::pathIn(programFolder, QStringLiteral("x_ite"));
    if (!Files::folderExists(player))
        return Status::failure(
            QStringLiteral("Cannot write the web page: the player folder \"%1\" does not exist")
                .arg(QDir::toNativeSeparators(player)));
    const QFileInfo world(worldPath);
    const QString folder = world.absolutePath();
    if (Status copied = Files::mirrorFolder(player, Files::pathIn(folder, QStringLiteral("x_ite")));
        !copied)
        return copied;
    const QString page = Files::pathIn(folder, FileName);
    const QByteArray text = html(world.fileName()).toUtf8();
    QFile existing(page);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == text)
        return Status::success(); // already there, as it should be
    return Files::writeBytes(page, text);
}

} // namespace WebPage
