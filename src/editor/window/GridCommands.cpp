// The grid: View > Snap to Grid and View > Grid Size, both kept for the next
// run. While snapping, the map shows the grid and the tools land on it.

#include "editor/window/MainEditor.h"

#include "core/model/NumberText.h"
#include "editor/map/MapLayers.h"
#include "editor/palette/PanelParts.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include <algorithm>

namespace {

const QString SnapKey = QStringLiteral("SnapToGrid");
const QString SizeKey = QStringLiteral("GridSize");

} // namespace

void MainEditor::createGridMenu()
{
    SettingsStore &settings = *m_platform.settings;
    m_snap.on =
        NumberText::toBoolean(settings.value(SnapKey, QStringLiteral("False"))).value_or(false);
    const double stored =
        NumberText::toDouble(settings.value(SizeKey, QString()), QLocale::c()).value_or(0);
    const bool known =
        std::find(Snap::Sizes.begin(), Snap::Sizes.end(), stored) != Snap::Sizes.end();
    m_snap.size = known ? stored : Snap::DefaultSize;

    mnuViewItem->addSeparator();
    mnuSnapToGrid = mnuViewItem->addAction(tr("Snap to &Grid"));
    mnuSnapToGrid->setCheckable(true);
    mnuSnapToGrid->setChecked(m_snap.on);
    connect(mnuSnapToGrid, &QAction::toggled, this, [this](bool on) {
        m_snap.on = on;
        applyGrid();
    });
    mnuGridSize = mnuViewItem->addMenu(tr("Grid Si&ze"));
    auto *sizes = new QActionGroup(this);
    for (const double size : Snap::Sizes) {
        QAction *choice = mnuGridSize->addAction(
            (size == 1 ? tr("%1 Unit") : tr("%1 Units")).arg(NumberText::userDouble(size)));
        choice->setCheckable(true);
        choice->setChecked(size == m_snap.size);
        sizes->addAction(choice);
        connect(choice, &QAction::triggered, this, [this, size] {
            m_snap.size = size;
            applyGrid();
        });
    }
    nameControls({{mnuSnapToGrid, "mnuSnapToGrid"}, {mnuGridSize, "mnuGridSize"}});
    m_layers->setGrid(m_snap.on ? m_snap.size : 0);
}

void MainEditor::applyGrid()
{
    m_layers->setGrid(m_snap.on ? m_snap.size : 0);
    m_platform.settings->setValue(SnapKey, NumberText::formatBoolean(m_snap.on));
    m_platform.settings->setValue(SizeKey, NumberText::formatDouble(m_snap.size));
}
