#include "editor/palette/OrientationPanel.h"

#include "core/model/Types.h"
#include "editor/palette/PanelParts.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

OrientationPanel::OrientationPanel(QWidget *parent) : QWidget(parent)
{
    Label1 = new QLabel(tr("Object Orientation"));
    Label1->setWordWrap(true);
    auto *group = new QButtonGroup(this);
    // Caption-less buttons: the direction is their name, the tool tip says more.
    const auto option = [group](const QString &name, const QString &toolTip) {
        auto *button = new QRadioButton;
        button->setAccessibleName(name);
        button->setToolTip(toolTip);
        group->addButton(button);
        return button;
    };
    OptUp = option(tr("Up"), tr("Faces up the map, towards its top edge"));
    optDown = option(tr("Down"), tr("Faces down the map, towards its bottom edge"));
    OptLeft = option(tr("Left"), tr("Faces the left edge of the map"));
    optRight = option(tr("Right"), tr("Faces the right edge of the map"));
    optDown->setChecked(true);

    txtAnchor = new QLineEdit;
    cmbTarget = new QComboBox;
    cmbTarget->setEditable(true);
    cmbTarget->setInsertPolicy(QComboBox::NoInsert); // a typed target is used, not kept
    cmbTarget->addItems({"_blank", "_parent", "_self", "_top"});
    cmbTarget->setCurrentIndex(-1);
    cmbTarget->setEditText(QString());
    Label3 = {captionFor(tr("Anchor (URL)"), txtAnchor),
              captionFor(tr("Anchor Target"), cmbTarget)};

    auto *cross = new QGridLayout;
    cross->setSpacing(0);
    cross->addWidget(OptUp, 0, 1);
    cross->addWidget(OptLeft, 1, 0);
    cross->addWidget(optRight, 1, 2);
    cross->addWidget(optDown, 2, 1);
    auto *orientation = new QVBoxLayout;
    orientation->addWidget(Label1);
    orientation->addLayout(cross);
    orientation->addStretch();

    auto *link = new QVBoxLayout;
    link->setSpacing(2);
    link->addWidget(Label3[0]);
    link->addWidget(txtAnchor);
    link->addWidget(Label3[1]);
    link->addWidget(cmbTarget);
    link->addStretch();

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addLayout(orientation);
    row->addLayout(link, 1);
    nameControls({{Label1, "Label1"},
                  {OptUp, "OptUp"},
                  {optDown, "optDown"},
                  {OptLeft, "OptLeft"},
                  {optRight, "optRight"},
                  {txtAnchor, "txtAnchor"},
                  {cmbTarget, "cmbTarget"}});
}

std::array<OrientationPanel::Option, 4> OrientationPanel::options() const
{
    return {{{OptUp, Rotation::Backward, 0.0},
             {optDown, Rotation::Forward, 3.14},
             {OptLeft, Rotation::Left, 1.57},
             {optRight, Rotation::Right, -1.57}}};
}

OrientationPanel::Option OrientationPanel::chosen() const
{
    const std::array<Option, 4> all = options();
    for (const Option &o : all) {
        if (o.button->isChecked())
            return o;
    }
    return all[1]; // down, the start setting
}

void OrientationPanel::choose(const std::function<bool(const Option &)> &matches)
{
    QRadioButton *button = optDown;
    for (const Option &o : options()) {
        if (matches(o))
            button = o.button;
    }
    button->setChecked(true);
}

float OrientationPanel::rotation() const { return chosen().rotation; }

void OrientationPanel::setRotation(float rotation)
{
    choose([rotation](const Option &o) { return o.rotation == rotation; });
}

double OrientationPanel::startAngle() const { return chosen().startAngle; }

void OrientationPanel::setStartAngle(double angle)
{
    choose([angle](const Option &o) { return o.startAngle == angle; });
}

QString OrientationPanel::takeAnchor()
{
    const QString anchor = txtAnchor->text();
    txtAnchor->clear();
    return anchor;
}

QString OrientationPanel::target() const { return cmbTarget->currentText(); }

void OrientationPanel::setAnchorShown(bool shown)
{
    for (QWidget *w : {static_cast<QWidget *>(Label3[0]), static_cast<QWidget *>(Label3[1]),
                       static_cast<QWidget *>(txtAnchor), static_cast<QWidget *>(cmbTarget)})
        w->setVisible(shown);
}
