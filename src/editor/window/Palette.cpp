#include "editor/window/Palette.h"

#include "editor/palette/ColorSwatch.h"
#include "editor/palette/ObjectList.h"
#include "editor/palette/OrientationPanel.h"
#include "editor/palette/PanelParts.h"
#include "editor/palette/PicturePanel.h"
#include "editor/palette/SurfacePanel.h"
#include "editor/palette/TextPanel.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// The option buttons of the walls panel, in order.
const Palette::CubeOption CubeOptions[] = {{Kind::Street, "a street"},
                                           {Kind::Floor, "a floor"},
                                           {Kind::Wall, "a wall"},
                                           {Kind::Ceiling, "a ceiling"},
                                           {Kind::Shrubbery, "shrubbery"}};

// Streets and shrubbery take fixed colours: no surface colour to choose.
bool hasSurfaceColor(const QString &kind)
{
    return kind != Kind::Street && kind != Kind::Shrubbery;
}

} // namespace

Palette::Palette(const Platform &platform, QWidget *central) : QObject(central)
{
    TabStrip1 = new QTabWidget(central);
    TabStrip1->setUsesScrollButtons(false); // the palette is made wide enough for all four tabs
    const struct {
        const char *caption;
        const char *toolTip;
    } tabs[] = {
        {"3D Objects", "Insert Pre-Built 3-D Objects"},
        {"Text", "Insert lines of text into the scene."},
        {"Walls && Streets", "Draw walls, streets, floors, ceilings, and shrubbery."},
        {"2D Pictures", "Insert GIF, JPEG and PNG pictures into the scene."},
    };
    for (const auto &tab : tabs) {
        // The pages stay empty: the panels lie over the strip and are shown by the tab handler.
        const int index = TabStrip1->addTab(new QWidget, tr(tab.caption));
        TabStrip1->setTabToolTip(index, tr(tab.toolTip));
    }

    m_objectList = new ObjectList(central);
    List1 = m_objectList->List1;

    picText = new TextPanel(platform, central);

    auto *cubes = new QWidget(central);
    auto *cubesLayout = new QVBoxLayout(cubes);
    cubesLayout->setContentsMargins(0, 0, 0, 0);
    cubesLayout->setSpacing(2);
    auto *kinds = new QButtonGroup(cubes);
    for (size_t i = 0; i < optCubes.size(); ++i) {
        optCubes[i] = new QRadioButton(tr(qPrintable(CubeOptions[i].kind)));
        optCubes[i]->setObjectName(QStringLiteral("optCubes%1").arg(i));
        kinds->addButton(optCubes[i]);
        cubesLayout->addWidget(optCubes[i]);
    }
    optCubes[0]->setChecked(true);
    picSurface = new SurfacePanel(platform);
    picSurface->hide(); // streets have no surface colour
    cubesLayout->addWidget(picSurface);
    cubesLayout->addStretch();

    picPicture = new PicturePanel(platform, central);
    picObjects = {m_objectList, picText, cubes, picPicture};
    for (size_t i = 0; i < picObjects.size(); ++i) {
        picObjects[i]->setObjectName(QStringLiteral("picObjects%1").arg(i));
        picObjects[i]->setVisible(i == ObjectsPanel);
    }
    picOrientation = new OrientationPanel(central);
    nameControls({{TabStrip1, "TabStrip1"},
                  {List1, "List1"},
                  {picSurface, "picSurface"},
                  {picOrientation, "picOrientation"}});

    connect(TabStrip1, &QTabWidget::currentChanged, this, &Palette::TabStrip1_Click);
    connect(List1, &QListWidget::itemClicked, this, &Palette::userChose);
    connect(List1, &QListWidget::itemSelectionChanged, this, &Palette::changed);
    for (QRadioButton *option : optCubes) {
        connect(option, &QRadioButton::toggled, this, &Palette::optCubes_Click);
        connect(option, &QRadioButton::clicked, this, &Palette::userChose);
    }
    connect(picPicture->cmd2dFind, &QPushButton::clicked, this, &Palette::userChose);
    connect(picText->txtTextText, &QLineEdit::textChanged, this, &Palette::changed);
    connect(picPicture, &PicturePanel::fileNameChanged, this, &Palette::changed);
}

void Palette::fillObjectList(const std::vector<ShapeInfo> &shapes, const QString &programFolder)
{
    m_objectList->fill(shapes, programFolder);
}

int Palette::currentPanel() const { return TabStrip1->currentIndex(); }

void Palette::showPanel(Panel panel) { TabStrip1->setCurrentIndex(panel); }

bool Palette::isShown(Panel panel) const { return picObjects[size_t(panel)]->isVisible(); }

std::optional<Palette::ListedObject> Palette::chosenObject() const
{
    const QListWidgetItem *row = List1->currentItem();
    if (!row || !row->isSelected())
        return std::nullopt;
    return ListedObject{row->data(Qt::UserRole).toInt(), row->text()};
}

const Palette::CubeOption &Palette::chosenCube() const
{
    size_t chosen = 0;
    while (chosen + 1 < optCubes.size() && !optCubes[chosen]->isChecked())
        ++chosen;
    return CubeOptions[chosen];
}

int32_t Palette::surfaceColor() const { return picSurface->picCubesColor->color(); }

void Palette::TabStrip1_Click()
{
    emit userChose();
    const int chosen = TabStrip1->currentIndex();
    for (int i = 0; i < int(picObjects.size()); ++i)
        picObjects[size_t(i)]->setVisible(i == chosen);
    picOrientation->setVisible(chosen != CubesPanel); // walls and streets have no orientation
    emit changed();
}

void Palette::optCubes_Click()
{
    picSurface->setVisible(hasSurfaceColor(chosenCube().kind));
    emit changed();
}

void Palette::measure(MainLayout::Metrics &metrics) const
{
    metrics.tabBarWidth = TabStrip1->tabBar()->sizeHint().width();
    metrics.tabBarHeight = TabStrip1->tabBar()->sizeHint().height();
    // The panels get what they need at least (the object list scrolls).
    for (const QWidget *panel : picObjects)
        metrics.panelHeight = std::max(metrics.panelHeight, panel->minimumSizeHint().height());
    metrics.orientationHeight =
        std::max(metrics.orientationHeight, picOrientation->minimumSizeHint().height());
}

void Palette::place(const MainLayout::Geometry &geometry)
{
    TabStrip1->setGeometry(geometry.TabStrip1);
    for (size_t i = 0; i < picObjects.size(); ++i) {
        picObjects[i]->setGeometry(geometry.picObjects[i]);
        picObjects[i]->raise(); // over the tab strip
    }
    picOrientation->setGeometry(geometry.picOrientation);
    picOrientation->raise();
}
