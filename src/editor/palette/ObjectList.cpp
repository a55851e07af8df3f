#include "editor/palette/ObjectList.h"

#include "core/files/FileServices.h"
#include "core/model/StoredColor.h"
#include "editor/palette/PanelParts.h"
#include "scene/ObjectIcons.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

enum Role { EntryRole = Qt::UserRole, PathRole, UserObjectRole };
constexpr int ShownIcon = 48;

// An object's footprint on the map, in its map colour, until its picture is drawn.
QIcon swatch(const ShapeInfo &shape)
{
    QPixmap pixmap(ObjectIcons::Size, ObjectIcons::Size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 0, 0, 140), 2));
    painter.setBrush(StoredColor::toQColor(shape.MapColor));
    const QRectF area(16, 16, 32, 32);
    if (shape.MapShape == QLatin1String("C"))
        painter.drawEllipse(area);
    else
        painter.drawRect(area);
    return QIcon(pixmap);
}

} // namespace

ObjectList::ObjectList(QWidget *parent) : QWidget(parent)
{
    txtFindObject = new QLineEdit;
    txtFindObject->setPlaceholderText(tr("Search"));
    txtFindObject->setAccessibleName(tr("Search the objects"));
    txtFindObject->setClearButtonEnabled(true);
    List1 = new QListWidget;
    List1->setAccessibleName(tr("Objects"));
    // Shown a little smaller than drawn, so that several rows fit the panel.
    List1->setIconSize(QSize(ShownIcon, ShownIcon));
    List1->setUniformItemSizes(true);
    List1->setMinimumHeight(ShownIcon * 7 / 2 + 2 * List1->frameWidth());
    cmdImportObject = new QPushButton(tr("&Import Object..."));
    cmdImportObject->setToolTip(tr("Add a 3-D model (glTF, OBJ, COLLADA, 3DS, FBX, PLY, STL or "
                                   "VRML) to your object library"));
    cmdRemoveFromLibrary = new QPushButton(tr("Remove from Library"));
    cmdRemoveFromLibrary->setToolTip(tr("Remove the chosen object, one you imported, from your "
                                        "object library"));
    cmdRemoveFromLibrary->setEnabled(false);
    for (QPushButton *button : {cmdImportObject, cmdRemoveFromLibrary})
        button->setAutoDefault(false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    layout->addWidget(txtFindObject);
    layout->addWidget(List1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdImportObject);
    buttons->addWidget(cmdRemoveFromLibrary);
    layout->addLayout(buttons);
    nameControls({{txtFindObject, "txtFindObject"},
                  {cmdImportObject, "cmdImportObject"},
                  {cmdRemoveFromLibrary, "cmdRemoveFromLibrary"}});

    connect(txtFindObject, &QLineEdit::textChanged, this, &ObjectList::filter);
    connect(List1, &QListWidget::itemSelectionChanged, this, &ObjectList::chosenChanged);
    connect(cmdImportObject, &QPushButton::clicked, this, &ObjectList::importRequested);
    connect(cmdRemoveFromLibrary, &QPushButton::clicked, this, &ObjectList::removeRequested);
}

void ObjectList::fill(const std::vector<ShapeInfo> &shapes, const QString &programFolder)
{
    List1->clear();
    for (size_t i = 0; i < shapes.size(); ++i) {
        const ShapeInfo &shape = shapes[i];
        const QString path = Files::pathIn(objectFolder(programFolder, shape), shape.FileName);
        auto *row = new QListWidgetItem(m_icons.value(path, swatch(shape)), shape.Name, List1);
        row->setData(EntryRole, int(i));
        row->setData(PathRole, path);
        row->setData(UserObjectRole, !shape.Folder.isEmpty());
    }
    filter(txtFindObject->text());
}

void ObjectList::setIcon(const QString &objectPath, const QImage &icon)
{
    const QPixmap picture = QPixmap::fromImage(icon);
    QIcon shown(picture);
    // On the chosen row too in its own colours: the style would tint it
    // with the selection's, and a brown crate would look grey.
    shown.addPixmap(picture, QIcon::Selected);
    m_icons.insert(objectPath, shown);
    for (int i = 0; i < List1->count(); ++i)
        if (QListWidgetItem *row = List1->item(i); row->data(PathRole).toString() == objectPath)
            row->setIcon(shown);
}

void ObjectList::select(int entry)
{
    for (int i = 0; i < List1->count(); ++i) {
        QListWidgetItem *row = List1->item(i);
        if (row->data(EntryRole).toInt() != entry)
            continue;
        if (row->isHidden())
            txtFindObject->clear();
        List1->setCurrentItem(row);
        List1->scrollToItem(row);
        return;
    }
}

void ObjectList::filter(const QString &text)
{
    const QString wanted = text.trimmed();
    for (int i = 0; i < List1->count(); ++i) {
        QListWidgetItem *row = List1->item(i);
        const bool hidden = !row->text().contains(wanted, Qt::CaseInsensitive);
        // What the next click places must be in sight.
        if (hidden && row->isSelected())
            row->setSelected(false);
        row->setHidden(hidden);
    }
}

void ObjectList::chosenChanged()
{
    const QList<QListWidgetItem *> chosen = List1->selectedItems();
    cmdRemoveFromLibrary->setEnabled(!chosen.isEmpty() &&
                                     chosen.first()->data(UserObjectRole).toBool());
}
