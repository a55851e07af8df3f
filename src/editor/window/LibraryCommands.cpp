// The user's object library from the editor: Import Object... (in the 3D
// Objects panel and the File menu) opens the import dialog on a model file,
// which reads it and lets the user place it, and adds it to the list, chosen
// and ready to place; Remove from Library takes out a user object that
// nothing in the world uses. The list shows each object's picture as soon as
// another process has drawn it.

#include "editor/window/MainEditor.h"

#include "core/library/UserLibrary.h"
#include "editor/dialogs/frmBrowse.h"
#include "editor/dialogs/frmImport.h"
#include "editor/palette/ObjectList.h"
#include "editor/palette/PanelParts.h"
#include "editor/window/Palette.h"
#include "editor/window/ViewDock.h"
#include "scene/ImportReader.h"
#include "scene/LiveScene.h"
#include "scene/ObjectIcons.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

#include <algorithm>

namespace {

QString modelFilter()
{
    const QStringList patterns = importPatterns();
    return QObject::tr("3-D Models") + QLatin1Char('|') + patterns.join(QLatin1Char(';')) +
           QLatin1Char('|') + QObject::tr("All Files") + QStringLiteral("|*");
}

} // namespace

void MainEditor::connectLibraryCommands()
{
    m_icons = new ObjectIcons(m_folders.iconCache, m_folders.iconDrawer, this);
    connect(m_icons, &ObjectIcons::iconReady, this,
            [this](const QString &path, const QImage &icon) {
                m_palette->objectList().setIcon(path, icon);
            });
    mnuImportObject = new QAction(tr("&Import Object..."), this);
    mnuFile->insertAction(mnuDivide2, mnuImportObject);
    nameControls({{mnuImportObject, "mnuImportObject"}});
    connect(mnuImportObject, &QAction::triggered, this, &MainEditor::importObject);
    connect(&m_palette->objectList(), &ObjectList::importRequested, this,
            &MainEditor::importObject);
    connect(&m_palette->objectList(), &ObjectList::removeRequested, this,
            &MainEditor::removeFromLibrary);
}

void MainEditor::showLibrary(int entry)
{
    m_palette->fillObjectList(Shapes, m_folders.program);
    if (LiveScene *scene = m_viewDock->scene())
        scene->libraryChanged();
    if (entry >= 0) {
        m_palette->showPanel(Palette::ObjectsPanel);
        m_palette->objectList().select(entry);
    }
    m_icons->request(Shapes, m_folders.program);
}

void MainEditor::importObject()
{
    const QString startKey = QStringLiteral("ImportFolder");
    const std::optional<QString> path = m_platform.fileDialogs->openFile(
        this, modelFilter(), m_platform.settings->value(startKey, QString()));
    if (!path)
        return;
    m_platform.settings->setValue(startKey, QFileInfo(*path).absolutePath());
    frmImport dialog(m_platform, *path, Shapes, m_folders.userObjects, frmBrowse::checkOpenGL,
                     this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    Shapes.push_back(dialog.added());
    showLibrary(int(Shapes.size()) - 1);
    QString closing = tr("%1 is in your object library now: click the map to place it.")
                          .arg(quoted(dialog.added().Name));
    if (!dialog.notes().isEmpty())
        closing += QStringLiteral("\n\n") + dialog.notes().join(QLatin1Char('\n'));
    m_platform.messages->inform(this, closing);
}

void MainEditor::removeFromLibrary()
{
    const std::optional<Palette::ListedObject> chosen = m_palette->chosenObject();
    if (!chosen || chosen->entry < 0 || chosen->entry >= int(Shapes.size()))
        return;
    const ShapeInfo entry = Shapes[size_t(chosen->entry)];
    if (entry.Folder.isEmpty())
        return; // the shipped library is never changed
    const auto placed =
        std::count_if(world().Objects.begin(), world().Objects.end(),
                      [&](const ObjectInfo &o) { return isUsed(o) && o.Name == entry.Name; });
    if (placed > 0) {
        m_platform.messages->warn(
            this, tr("%1 is placed in this world (%n time(s)). Remove it from the world first.",
                     nullptr, int(placed))
                      .arg(quoted(entry.Name)));
        return;
    }
    if (m_platform.messages->askChoice(
            this,
            tr("Remove %1 from your object library? Its files are deleted, and other worlds "
               "that use it will miss it.")
                .arg(quoted(entry.Name)),
            {tr("Remove"), tr("Keep")}) != 0)
        return;
    const Status removed = UserLibrary::remove(entry, Shapes);
    // Once its line is gone from the library the entry is gone, whatever
    // became of its files.
    const LibraryLoad left = UserLibrary::load(entry.Folder);
    if (std::none_of(left.Shapes.begin(), left.Shapes.end(),
                     [&](const ShapeInfo &s) { return s.FileName == entry.FileName; })) {
        Shapes.erase(Shapes.begin() + chosen->entry);
        showLibrary(-1);
    }
    if (!removed)
        m_platform.messages->warn(this, removed.error);
}
