#include "editor/window/Palette.h"

#include "core/model/StoredColor.h"
#include "editor/palette/ColorSwatch.h"
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

// A small picture of an object's footprint on the map, in its map colour.
QIcon swatch(const ShapeInfo &shape)
{
    QPixmap pixmap(14, 14);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0, 0, 0, 140));
    painter.setBrush(StoredColor::toQColor(shape.MapColor));
    if (shape.MapShape == QLatin1String("C"))
        painter.drawEllipse(QRectF(1.5, 1.5, 11, 11));
    else
        painter.drawRect(QRectF(1.5, 1.5, 11, 11));
    return QIcon(pixmap);
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
        {"2D Pictures", "Insert gifs and jpegs into the scene."},
    };
    for (const auto &tab : tabs) {
        // The pages stay empty: the panels lie over the strip and are shown by the tab handler.
        const int index = TabStrip1->addTab(new QWidget, tr(tab.caption));
        TabStrip1->setTabToolTip(index, tr(tab.toolTip));
    }

    auto *objects = new QWidget(central);
    List1 = new QListWidget;
    List1->setAccessibleName(tr("Objects"));
    List1->setIconSize(QSize(14, 14));
    auto *objectsLayout = new QVBoxLayout(objects);
    objectsLayout->setContentsMargins(0, 0, 0, 0);
    objectsLayout->addWidget(List1);

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
    picObjects = {objects, picText, cubes, picPicture};
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

void Palette::fillObjectList(const std::vector<ShapeInfo> &shapes)
{
    List1->clear();
    for (size_t i = 0; i < shapes.size(); ++i) {
        auto *row = new QListWidgetItem(swatch(shapes[i]), shapes[i].Name, List1);
        row->setData(Qt::UserRole, int(i));
    }
}

int Palette::currentPanel() const { return TabStrip1->currentIndex(); }

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
