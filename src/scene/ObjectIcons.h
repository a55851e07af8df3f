#pragma once
// Pictures of the library's objects for the palette: each object file drawn
// once off-screen (Coin into a Qt-made OpenGL context and framebuffer),
// 64 pixels square on a transparent ground, and kept as a PNG in the cache
// folder under the hash of the file's content, so that later starts find it
// without drawing. Pictures in the cache arrive at once; the others are drawn
// one per pass of the event loop, so that the window never waits for more
// than one object: under 20 ms for each shipped one with Mesa's software
// renderer, once 0.2 to 0.3 s more for making the OpenGL context, and about
// 0.1 s for a model of 50,000 triangles.

#include "core/library/ObjectLibrary.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <deque>
#include <memory>
#include <vector>

class ObjectIcons : public QObject {
    Q_OBJECT

public:
    static constexpr int Size = 64;

    // cacheFolder: where the pictures are kept; empty: nowhere.
    explicit ObjectIcons(QString cacheFolder, QObject *parent = nullptr);
    ~ObjectIcons() override;

    // The pictures of these entries, each through iconReady: at once from
    // the cache, else once drawn. Where no OpenGL context can be had,
    // nothing is drawn.
    void request(const std::vector<ShapeInfo> &shapes, const QString &programFolder);
    bool busy() const { return !m_queue.empty(); }

    // The file a picture is kept in for an object file's content.
    static QString cacheName(const QByteArray &objectFile);

signals:
    // objectPath: the entry's object file.
    void iconReady(const QString &objectPath, const QImage &icon);
    // Every picture asked for is there (or cannot be drawn).
    void finished();

private:
    struct Job {
        QString objectPath;
        QStringList searchDirs; // where its textures lie
        QString cacheFile;      // empty: not kept
    };
    void drawNext();
    QImage draw(const Job &job);

    struct Context;
    QString m_cacheFolder;
    std::deque<Job> m_queue;
    QTimer m_next;
    std::unique_ptr<Context> m_context; // made for the first drawing
    bool m_noContext = false;           // OpenGL cannot be had here
};
