// The main window's export command: the world into ToGo, through the same
// exporter as lotwright-cli, then shown in the preview window.

#include "editor/window/MainEditor.h"

#include "core/vrml/ExportCommand.h"
#include "editor/window/WebPublisher.h"
#include "editor/dialogs/frmBrowse.h"

#include <QPushButton>

void MainEditor::mnuSaveItem_Click()
{
    // The world is neither saved nor marked as changed by an export.
    const WorldExport result =
        exportWorld(world(), Shapes, m_folders, m_document.CurrentFile());
    if (!result.ok()) {
        m_platform.messages->warn(this, tr("The world could not be exported.\n%1").arg(result.error));
        return;
    }
    QStringList warnings = result.warnings;
    if (const QString missing = missingObjectsWarning(result.missingObjects); !missing.isEmpty())
        warnings << missing;
    if (!warnings.isEmpty())
        m_platform.messages->warn(this, tr("The world was exported to %1, but:\n\n%2")
                                            .arg(result.outputPath, warnings.join(QLatin1String("\n\n"))));

    frmBrowse browse(m_platform, this);
    browse.BrowseFile = result.outputPath;
    // The server started here keeps serving ToGo until the program ends.
    if (!m_webPublisher)
        m_webPublisher = new WebPublisher(m_platform, m_folders.program, this);
    QPushButton *web = browse.addButton(tr("Open in &Web Browser"));
    web->setObjectName(QStringLiteral("cmdWebBrowser"));
    connect(web, &QPushButton::clicked, &browse,
            [this, &browse] { m_webPublisher->openInWebBrowser(&browse, browse.BrowseFile); });
    browse.exec();
}
