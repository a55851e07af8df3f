#pragma once
// The world's file: New, Open, Save, Save As, the recent worlds and the
// question before changes are dropped. It talks to the user only through the
// platform (file dialogs, message boxes, settings) and changes the world only
// through the document; the window learns what happened from its signals.

#include "core/files/FileServices.h"
#include "core/files/ProgramFolders.h"
#include "core/model/WorldFile.h"
#include "editor/platform/Platform.h"

#include <QObject>
#include <QStringList>

#include <functional>

class RecoveryWriter;
class WorldDocument;

class DocumentFiles : public QObject {
    Q_OBJECT

public:
    // scrollPosition: the map's scroll position, which a file keeps with the
    // world. Dialogs and messages open over dialogParent.
    DocumentFiles(const Platform &platform, WorldDocument &document, const ProgramFolders &folders,
                  std::function<ScrollFractions()> scrollPosition, QWidget *dialogParent,
                  QObject *parent = nullptr);

    // Start-up: the whole command line is one path, perhaps in double quotes,
    // or a file:// address; without one, or when it cannot be opened, a new world.
    void openCommandLine(const QString &commandLine);

    // Start-up, before the command line: offers each world that an editor
    // now gone left unsaved, one question each. A recovered world keeps its
    // file name and counts as changed; true when one was recovered (the
    // others then wait for the next start).
    bool offerRecovery();

    // The File menu. Each asks before it drops unsaved changes.
    void newFile();
    void open();
    // Save As for a world never saved, and for one in a program folder that
    // is never written (a shipped sample): that proposes the user's own
    // Lotwright folder, beside ToGo.
    void save();
    void saveAs();
    void openRecent(const QString &path);

    // Up to eight worlds, the latest first, by their place in the settings:
    // an empty path where a place is free.
    QStringList recentFiles() const;
    void clearRecent();

    // Asks whether to save a changed world first; false: the user stopped,
    // or the save failed or was cancelled.
    bool mayDiscardChanges(const QString &question);

    // Where Open and Save As start: the world's folder, else the samples.
    QString dialogFolder() const;

    // The world file, read or written whole. On failure nothing changes;
    // nothing is written inside a program folder that is never written.
    Status SaveFile(const QString &path);
    Status LoadFile(const QString &path);

signals:
    // Unsaved work could not be kept for recovery (a full disk, say).
    void recoveryFailed(const QString &error);
    // The file the caption names; empty for a new world.
    void fileNameChanged(const QString &path);
    // The document holds another world, new or read from a file; its map
    // was scrolled to this position.
    void worldReplaced(const ScrollFractions &position);

private:
    void newWorld();                     // without asking
    bool openWorld(const QString &path); // a failure is shown
    void saveWorld(const QString &path); // a failure is shown
    // After a read or a write of path: the document is that file, which heads
    // the recent worlds; a failure is shown with its error in failure's %1.
    bool settle(const Status &done, const QString &failure, const QString &path);
    void rememberRecent(const QString &path);

    Platform m_platform;
    WorldDocument &m_document;
    ProgramFolders m_folders;
    std::function<ScrollFractions()> m_scrollPosition;
    QWidget *m_dialogParent;
    RecoveryWriter *m_recovery;
};
