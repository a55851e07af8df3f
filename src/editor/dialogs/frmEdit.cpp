#include "editor/dialogs/frmEdit.h"

#include "editor/palette/ColorSwatch.h"
#include "editor/palette/OrientationPanel.h"
#include "editor/palette/PicturePanel.h"
#include "editor/palette/SurfacePanel.h"
#include "editor/palette/TextPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

template <class... F> struct Overloaded : F... {
    using F::operator()...;
};
template <class... F> Overloaded(F...) -> Overloaded<F...>;

} // namespace

frmEdit::frmEdit(const Platform &platform, EditSubject subject, QWidget *parent)
    : QDialog(parent), m_platform(platform), m_subject(std::move(subject))
{
    setObjectName(QStringLiteral("frmEdit"));
    setWindowTitle(QStringLiteral("Edit Object"));
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The kind's own panel first, the orientation and the link below it.
    const auto addPanel = [layout](auto *panel, const char *name) {
        panel->setObjectName(QLatin1String(name));
        if (layout->count() > 0) { // a line between the kind's panel and the orientation
            auto *line = new QFrame;
            line->setFrameShape(QFrame::HLine);
            line->setFrameShadow(QFrame::Sunken);
            layout->addWidget(line);
        }
        layout->addWidget(panel);
        return panel;
    };
    const auto addOrientation = [&] {
        picOrientation = addPanel(new OrientationPanel, "picOrientation");
    };
    // Objects, texts and pictures: the item's rotation and link.
    const auto addOrientationOf = [&](const auto &item) {
        addOrientation();
        picOrientation->setRotation(item.Rotation);
        picOrientation->txtAnchor->setText(item.Anchor);
        picOrientation->txtAnchor->setCursorPosition(0); // a long address shows its start
        picOrientation->txtAnchor->setMinimumWidth(
            picOrientation->txtAnchor->fontMetrics().averageCharWidth() * 28);
        picOrientation->cmbTarget->setEditText(item.Target);
    };
    std::visit(Overloaded{
                   [&](const ObjectInfo &object) { addOrientationOf(object); },
                   [&](const TextInfo &text) {
                       textPanel = addPanel(new TextPanel(m_platform), "picObjects1");
                       textPanel->showRecord(text);
                       addOrientationOf(text);
                   },
                   [&](const CubeInfo &cube) {
                       surfacePanel = addPanel(new SurfacePanel(m_platform), "picObjects2");
                       surfacePanel->picCubesColor->setColor(cube.Color);
                   },
                   [&](const PictureInfo &picture) {
                       picturePanel = addPanel(new PicturePanel(m_platform), "picObjects3");
                       picturePanel->showRecord(picture);
                       addOrientationOf(picture);
                   },
                   [&](const StartOrientation &start) {
                       setWindowTitle(QStringLiteral("Start Position"));
                       addOrientation();
                       picOrientation->Label1->setText(QStringLiteral("Startup Orientation"));
                       picOrientation->setAnchorShown(false);
                       picOrientation->setStartAngle(start.StartAngle);
                   },
               },
               m_subject);

    cmdOK = new QPushButton(QStringLiteral("&OK"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    auto *buttons = new QDialogButtonBox;
    buttons->addButton(cmdOK, QDialogButtonBox::AcceptRole);
    buttons->addButton(cmdCancel, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &frmEdit::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &frmEdit::reject);
    layout->addSpacing(6);
    layout->addWidget(buttons);
}

EditSubject frmEdit::edited() const
{
    EditSubject result = m_subject;
    const auto writeLink = [this](auto &item) {
        item.Anchor = picOrientation->txtAnchor->text();
        item.Target = picOrientation->target();
        item.Rotation = picOrientation->rotation();
    };
    std::visit(
        Overloaded{
            [&](ObjectInfo &object) { writeLink(object); },
            [&](TextInfo &text) {
                writeLink(text);
                textPanel->applyTo(text);
            },
            [&](CubeInfo &cube) { cube.Color = surfacePanel->picCubesColor->color(); },
            [&](PictureInfo &picture) {
                writeLink(picture);
                picture.FileName = picturePanel->fileName();
                // accept() has checked the three sizes
                picture.Height = picturePanel->heightUnits().value_or(picture.Height);
                picture.Width = picturePanel->widthUnits().value_or(picture.Width);
                picture.OffGround = picturePanel->offGroundUnits().value_or(picture.OffGround);
                picture.Billboard = picturePanel->chk2DBillBoard->isChecked();
            },
            [&](StartOrientation &start) { start.StartAngle = picOrientation->startAngle(); },
        },
        result);
    return result;
}

void frmEdit::accept()
{
    if (inputIsValid())
        QDialog::accept();
}

bool frmEdit::inputIsValid()
{
    if (picturePanel) {
        if (const auto refusal = picturePanel->sizeRefusal(PicturePanel::Wording::Editing)) {
            refuse(refusal->field, refusal->message);
            return false;
        }
    }
    if (textPanel && textPanel->txtTextText->text().isEmpty()) {
        refuse(textPanel->txtTextText, QStringLiteral("Please enter the text to by displayed."));
        return false;
    }
    return true;
}

void frmEdit::refuse(QWidget *field, const QString &message)
{
    m_platform.messages->inform(this, message);
    field->setFocus();
    if (auto *box = qobject_cast<QLineEdit *>(field))
        box->selectAll();
}
