#include "scene/ObjectIcons.h"

#include "core/files/FileServices.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>

namespace {

// A drawer that gives no picture for this long is taken as hung.
constexpr int SilenceAllowed = 60000; // milliseconds

} // namespace

ObjectIcons::ObjectIcons(QString cacheFolder, QString drawer, QObject *parent)
    : QObject(parent), m_cacheFolder(std::move(cacheFolder)), m_drawer(std::move(drawer))
{
    if (m_cacheFolder.isEmpty()) {
        m_temporary = std::make_unique<QTemporaryDir>();
        m_cacheFolder = m_temporary->path();
    }
    m_silence.setSingleShot(true);
    m_silence.setInterval(SilenceAllowed);
    connect(&m_silence, &QTimer::timeout, this, [this] {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished();
        drawerEnded(QStringLiteral("it gave no picture for %1 seconds").arg(SilenceAllowed / 1000),
                    true);
    });
}

ObjectIcons::~ObjectIcons()
{
    if (m_process) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished();
    }
}

void ObjectIcons::request(const std::vector<ShapeInfo> &shapes, const QString &programFolder)
{
    m_textures = Files::pathIn(programFolder, QStringLiteral("Textures"));
    QSet<QString> asked(m_drawing.begin(), m_drawing.end());
    asked.unite(QSet<QString>(m_waiting.begin(), m_waiting.end()));
    for (const ShapeInfo &shape : shapes) {
        const QString path = Files::pathIn(objectFolder(programFolder, shape), shape.FileName);
        if (asked.contains(path))
            continue;
        asked.insert(path);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QImage cached(Files::pathIn(m_cacheFolder, IconDrawer::cacheName(file.readAll())));
        if (!cached.isNull())
            emit iconReady(path, cached);
        else if (!m_drawer.isEmpty())
            m_waiting.push_back(path);
    }
    if (m_process)
        return; // it goes on with the others when it ends
    if (m_waiting.empty())
        emit finished();
    else
        startDrawer();
}

void ObjectIcons::startDrawer()
{
    m_drawing = QStringList(m_waiting.begin(), m_waiting.end());
    m_waiting.clear();
    m_drewSome = false;
    m_process = new QProcess(this);
    connect(m_process, &QProcess::readyReadStandardOutput, this, &ObjectIcons::readDrawer);
    connect(m_process, &QProcess::finished, this, [this](int status, QProcess::ExitStatus how) {
        readDrawer();
        const QString said = QString::fromLocal8Bit(m_process->readAllStandardError()).trimmed();
        if (how == QProcess::CrashExit)
            drawerEnded(QStringLiteral("it crashed"), true);
        else
            drawerEnded(said.isEmpty() ? QStringLiteral("it ended with status %1").arg(status)
                                       : said.section(QLatin1Char('\n'), -1),
                        false);
    });
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            drawerEnded(m_process->errorString(), false);
    });
    m_process->start(m_drawer,
                     QStringList{QStringLiteral("icons"), m_cacheFolder, m_textures} + m_drawing);
    m_silence.start();
}

void ObjectIcons::readDrawer()
{
    // Each line: the picture's file, a tab, the object file.
    while (m_process->canReadLine()) {
        const QString line = QString::fromUtf8(m_process->readLine()).chopped(1);
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        const QString object = line.mid(tab + 1);
        if (tab < 0 || !m_drawing.removeOne(object))
            continue;
        m_drewSome = true;
        m_silence.start();
        if (const QImage icon(line.left(tab)); !icon.isNull())
            emit iconReady(object, icon);
    }
}

void ObjectIcons::drawerEnded(const QString &failure, bool cutShort)
{
    m_silence.stop();
    m_process->deleteLater();
    m_process = nullptr;
    if (!m_drawing.isEmpty()) {
        report(failure);
        // One that drew and then stopped stopped at the next object: the
        // others go to a new drawer.
        if (cutShort && m_drewSome)
            m_waiting.insert(m_waiting.begin(), m_drawing.begin() + 1, m_drawing.end());
        m_drawing.clear();
    }
    if (m_waiting.empty())
        emit finished();
    else
        startDrawer();
}

void ObjectIcons::report(const QString &why)
{
    if (std::exchange(m_reported, true))
        return;
    qWarning("lotwright: the objects' pictures cannot be drawn by %s: %s", qPrintable(m_drawer),
             qPrintable(why));
}
