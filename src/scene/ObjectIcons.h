#pragma once
// The palette's pictures of the library's objects, for a window that must
// never wait for one. Pictures in the cache folder (PNG files named by the
// hash of the object file's content) are read at once; the others are drawn
// by another process, the drawer (lotwright-cli icons, see IconDrawer.h),
// started without waiting, which writes them into the cache and names each
// as it is done; each then comes from the cache. Where the drawer cannot be
// started, fails or crashes, the pictures it did not give stay missing and
// the reason goes to stderr, once.

#include "core/library/ObjectLibrary.h"
#include "scene/IconDrawer.h"

#include <QImage>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <deque>
#include <memory>
#include <vector>

class QTemporaryDir;

class ObjectIcons : public QObject {
    Q_OBJECT

public:
    static constexpr int Size = IconDrawer::Size;

    // cacheFolder: where the pictures are kept (empty: a temporary folder);
    // drawer: the program that draws them (empty: none are drawn).
    ObjectIcons(QString cacheFolder, QString drawer, QObject *parent = nullptr);
    ~ObjectIcons() override;

    // The pictures of these entries, each through iconReady: at once from
    // the cache, else once drawn.
    void request(const std::vector<ShapeInfo> &shapes, const QString &programFolder);
    bool busy() const { return m_process || !m_waiting.empty(); }

signals:
    // objectPath: the entry's object file.
    void iconReady(const QString &objectPath, const QImage &icon);
    // Every picture asked for is there, or cannot be drawn.
    void finished();

private:
    void startDrawer();
    void readDrawer();
    // failure: why objects were left without a picture; cutShort: it
    // crashed or hung, on the first of them.
    void drawerEnded(const QString &failure, bool cutShort);
    void report(const QString &why);

    QString m_cacheFolder;
    std::unique_ptr<QTemporaryDir> m_temporary; // without a cache folder
    QString m_drawer;
    QString m_textures;            // the program folder's
    std::deque<QString> m_waiting; // object files to draw
    QStringList m_drawing;         // given to the drawer and not yet done
    bool m_drewSome = false;       // the drawer gave a picture
    QProcess *m_process = nullptr; // the drawer running
    QTimer m_silence;              // since it last gave a picture
    bool m_reported = false;
};
