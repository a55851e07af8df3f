#pragma once
// The pictures of the library's objects for the palette: an object file
// drawn off-screen (Coin into a Qt-made OpenGL context and framebuffer), 64
// pixels square on a transparent ground. lotwright-cli icons draws them into
// the cache, in a process of its own, so that the editor's window never waits
// for one: with Mesa's software renderer each shipped object takes under
// 20 ms, but making the context takes 0.2 to 0.3 s and a model of 50,000
// triangles about 0.1 s. Needs a QGuiApplication.

#include <QImage>
#include <QString>
#include <QStringList>

#include <memory>

class IconDrawer {
public:
    static constexpr int Size = 64;

    // The file a picture is kept in for an object file's content.
    static QString cacheName(const QByteArray &objectFile);

    IconDrawer();
    ~IconDrawer();

    // Empty when an OpenGL context could be had, else why not.
    const QString &unavailable() const { return m_unavailable; }
    // The object's picture, its textures looked for in searchDirs; null
    // where Coin cannot read it or nothing can be drawn.
    QImage draw(const QString &objectPath, const QStringList &searchDirs);

private:
    struct Context;
    std::unique_ptr<Context> m_context;
    QString m_unavailable;
};
