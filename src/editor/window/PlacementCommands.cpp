// The palette and the map's mouse work: the panels that prepare the next
// item, the click that places an object, a text or a picture, the rubber
// band that draws walls and the like, the crosshair, and the status bar
// that says what a click or a drag will do.

#include "editor/window/MainEditor.h"

#include "core/model/StoredColor.h"
#include "editor/map/MapCanvas.h"
#include "editor/map/MapOverlay.h"
#include "editor/palette/ColorSwatch.h"
#include "editor/palette/DragHandle.h"
#include "editor/palette/ObjectTree.h"
#include "editor/palette/OrientationPanel.h"
#include "editor/palette/PicturePanel.h"
#include "editor/palette/SurfacePanel.h"
#include "editor/palette/TextPanel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

enum Panel { ObjectsPanel = 0, TextsPanel = 1, CubesPanel = 2, PicturesPanel = 3 };

constexpr int CrosshairMs = 1500;

// The option buttons of the walls panel, in order, with what a drag draws.
struct CubeOption {
    const QString &kind;
    const char *drawn; // for the status bar
};
const CubeOption CubeOptions[] = {{Kind::Street, "a street"},
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

void MainEditor::createPalette(QWidget *central)
{
    auto *objects = new QWidget(central);
    List1 = new QListWidget;
    List1->setAccessibleName(tr("Objects"));
    List1->setIconSize(QSize(14, 14));
    auto *objectsLayout = new QVBoxLayout(objects);
    objectsLayout->setContentsMargins(0, 0, 0, 0);
    objectsLayout->addWidget(List1);

    picText = new TextPanel(m_platform, central);

    auto *cubes = new QWidget(central);
    auto *cubesLayout = new QVBoxLayout(cubes);
    cubesLayout->setContentsMargins(0, 0, 0, 0);
    cubesLayout->setSpacing(2);
    auto *kinds = new QButtonGroup(cubes);
    for (size_t i = 0; i < optCubes.size(); ++i) {
        optCubes[i] = new QRadioButton(tr(qPrintable(CubeOptions[i].kind)));
        kinds->addButton(optCubes[i]);
        cubesLayout->addWidget(optCubes[i]);
    }
    optCubes[0]->setChecked(true);
    picSurface = new SurfacePanel(m_platform);
    picSurface->hide(); // streets have no surface colour
    cubesLayout->addWidget(picSurface);
    cubesLayout->addStretch();

    picPicture = new PicturePanel(m_platform, central);
    picObjects = {objects, picText, cubes, picPicture};
    for (size_t i = 0; i < picObjects.size(); ++i) {
        picObjects[i]->setObjectName(QStringLiteral("picObjects%1").arg(i));
        picObjects[i]->setVisible(i == ObjectsPanel);
    }
    picOrientation = new OrientationPanel(central);
    picOrientation->setObjectName(QStringLiteral("picOrientation"));
}

void MainEditor::connectPlacementCommands()
{
    Picture1->setAccessibleName(tr("Map"));
    objTree->setAccessibleName(tr("Existing Objects"));

    connect(List1, &QListWidget::itemClicked, this, &MainEditor::clearTreeSelection);
    connect(List1, &QListWidget::itemSelectionChanged, this, &MainEditor::updateStatus);
    for (QRadioButton *option : optCubes)
        connect(option, &QRadioButton::toggled, this, &MainEditor::optCubes_Click);
    connect(picText->txtTextText, &QLineEdit::textChanged, this, &MainEditor::updateStatus);
    connect(picPicture, &PicturePanel::fileNameChanged, this, &MainEditor::updateStatus);

    Shape1 = new MapOverlay(Picture1, MapOverlay::Look::Band);
    XLine = new MapOverlay(Picture1, MapOverlay::Look::Line);
    YLine = new MapOverlay(Picture1, MapOverlay::Look::Line);
    Timer1 = new QTimer(this);
    Timer1->setInterval(CrosshairMs);
    connect(Timer1, &QTimer::timeout, this, &MainEditor::Timer1_Timer);
    Timer1->start();

    connect(Picture1, &MapCanvas::mousePressed, this, &MainEditor::Picture1_MouseDown);
    connect(Picture1, &MapCanvas::mouseMoved, this, &MainEditor::Picture1_MouseMove);
    connect(Picture1, &MapCanvas::mouseReleased, this, &MainEditor::Picture1_MouseUp);
    connect(Picture1, &MapCanvas::pointerLeft, this, [this] {
        hideCrosshair();
        m_pointer.reset();
        updateStatus();
    });
    connect(Picture1, &MapCanvas::wheelTurned, this, &MainEditor::Picture1_Wheel);
    Picture1->setToolTipText([this](QPointF point) { return toolTipAt(point); });
    for (QScrollBar *bar : {HScroll1, VScroll1})
        connect(bar, &QScrollBar::valueChanged, this, &MainEditor::hideCrosshair);

    connect(Image1, &DragHandle::hovered, this, &MainEditor::hideCrosshair);
    connect(Image1, &DragHandle::dragStarted, this, &MainEditor::Image1_DragStart);
    connect(Image1, &DragHandle::dragMoved, this, &MainEditor::Image1_DragMove);
    connect(Image1, &DragHandle::dropped, this, &MainEditor::Image1_DragDrop);
    connect(Image1, &DragHandle::dragCancelled, this, &MainEditor::Image1_DragCancel);
    createNudges();
    updateStatus();
}

void MainEditor::fillObjectList()
{
    List1->clear();
    for (size_t i = 0; i < Shapes.size(); ++i) {
        auto *row = new QListWidgetItem(swatch(Shapes[i]), Shapes[i].Name, List1);
        row->setData(Qt::UserRole, int(i));
    }
}

void MainEditor::clearTreeSelection()
{
    // Choosing something to place ends the selection of an existing item.
    if (objTree->selectedNode()) {
        objTree->unselectNode();
        hideMarkers();
    }
}

void MainEditor::optCubes_Click()
{
    for (size_t i = 0; i < optCubes.size(); ++i) {
        if (optCubes[i]->isChecked())
            picSurface->setVisible(hasSurfaceColor(CubeOptions[i].kind));
    }
    updateStatus();
}

void MainEditor::Picture1_MouseDown(Qt::MouseButton button, QPointF point)
{
    if (button != Qt::LeftButton)
        return;
    MouseIsDown = true;
    if (picObjects[CubesPanel]->isVisible()) {
        StartX = point.x();
        StartY = point.y();
        Shape1->setMapRect(QRectF(point, QSizeF(1, 1)));
        Shape1->show();
        Shape1->raise();
    }
}

void MainEditor::Picture1_MouseMove(QPointF point)
{
    if (Shape1->isVisible()) {
        // The band grows only to the right of and below where it began.
        QRectF band = Shape1->mapRect();
        if (point.x() > band.left())
            band.setWidth(point.x() - band.left());
        if (point.y() > band.top())
            band.setHeight(point.y() - band.top());
        Shape1->setMapRect(band);
    }
    XLine->setMapRect(QRectF(point.x(), 0, 0, 100));
    YLine->setMapRect(QRectF(0, point.y(), 100, 0));
    for (MapOverlay *line : {XLine, YLine}) {
        line->show();
        line->raise();
    }
    Timer1->start(); // the crosshair goes 1.5 seconds after the last move
    m_pointer = point;
    updateStatus();
}

void MainEditor::Timer1_Timer() { hideCrosshair(); }

void MainEditor::hideCrosshair()
{
    XLine->hide();
    YLine->hide();
}

void MainEditor::Picture1_MouseUp(Qt::MouseButton button, QPointF point)
{
    if (button == Qt::RightButton) {
        mnuViewItem->popup(Picture1->mapToGlobal(Picture1->mapToPixels().map(point)).toPoint());
        return;
    }
    if (button != Qt::LeftButton || !MouseIsDown)
        return;
    MouseIsDown = false;
    placeAt(point);
}

void MainEditor::placeAt(QPointF point)
{
    // Each link goes to one item: the anchor is taken by every click, also
    // one that places nothing.
    const QString anchor = picOrientation->takeAnchor();
    const float rotation = picOrientation->rotation();
    const QString target = picOrientation->target();
    const auto x = float(point.x());
    const auto y = float(point.y());
    const auto refuse = [this](const QString &message) {
        m_platform.messages->inform(this, message);
    };

    if (picObjects[ObjectsPanel]->isVisible()) {
        const QListWidgetItem *row = List1->currentItem();
        const int entry = row && row->isSelected() ? row->data(Qt::UserRole).toInt() : -1;
        if (entry < 0 || entry >= int(Shapes.size())) {
            document.setSaved(false); // a click counts as a change, though nothing is placed
            return;
        }
        document.place(ObjectInfo{Shapes[size_t(entry)].Name, x, y, rotation, anchor, target});
    } else if (picObjects[PicturesPanel]->isVisible()) {
        PicturePanel &p = *picPicture;
        if (p.fileName().isEmpty())
            return refuse(tr("Please select a file."));
        if (const auto refusal = p.sizeRefusal(PicturePanel::Wording::Placing))
            return refuse(refusal->message);
        const std::optional<float> height = p.heightUnits();
        const std::optional<float> width = p.widthUnits();
        const std::optional<float> offGround = p.offGroundUnits();
        const PictureInfo picture{x,
                                  y,
                                  *offGround,
                                  *width,
                                  *height,
                                  rotation,
                                  p.chk2DBillBoard->isChecked(),
                                  p.fileName(),
                                  anchor,
                                  target};
        p.clear();
        document.place(picture);
    } else if (picObjects[TextsPanel]->isVisible()) {
        if (picText->txtTextText->text().isEmpty())
            return refuse(tr("Please specify the text to be inserted."));
        TextInfo text{{}, x, y, 0, rotation, {}, false, anchor, {}, target};
        picText->applyTo(text);
        picText->txtTextText->clear();
        document.place(text);
    } else if (picObjects[CubesPanel]->isVisible()) {
        Shape1->hide();
        if (point.x() < StartX || point.y() < StartY)
            return; // only drags down and to the right draw
        size_t chosen = 0;
        while (chosen + 1 < optCubes.size() && !optCubes[chosen]->isChecked())
            ++chosen;
        document.place(CubeInfo{CubeOptions[chosen].kind, float(StartX), x, float(StartY), y,
                                picSurface->picCubesColor->color()});
    }
}

QString MainEditor::placementHint() const
{
    switch (TabStrip1->currentIndex()) {
    case ObjectsPanel: {
        const QListWidgetItem *row = List1->currentItem();
        return row && row->isSelected() ? tr("Click to place %1").arg(row->text())
                                        : tr("Choose an object in the list");
    }
    case TextsPanel:
        return picText->txtTextText->text().isEmpty() ? tr("Type the text to be displayed")
                                                      : tr("Click to place the text");
    case CubesPanel:
        for (size_t i = 0; i < optCubes.size(); ++i) {
            if (optCubes[i]->isChecked())
                return tr("Drag down and to the right to draw %1").arg(tr(CubeOptions[i].drawn));
        }
        return QString();
    case PicturesPanel:
        return picPicture->fileName().isEmpty() ? tr("Find a picture to place")
                                                : tr("Click to place the picture");
    default:
        return QString();
    }
}

void MainEditor::updateStatus()
{
    QString text = placementHint();
    if (m_pointer) {
        const QLocale locale;
        text = tr("%1, %2").arg(locale.toString(m_pointer->x(), 'f', 1),
                                locale.toString(m_pointer->y(), 'f', 1)) +
               QStringLiteral("    ") + text;
    }
    Status1->showMessage(text);
}
