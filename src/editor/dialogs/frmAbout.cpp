#include "editor/dialogs/frmAbout.h"

#include "editor/dialogs/Artwork.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{

QLabel *namedLabel(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

frmAbout::frmAbout(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About Lotwright 2.0"));
    setWindowIcon(programIcon());

    picIcon = namedLabel(QStringLiteral("picIcon"), QString(), this);
    picIcon->setPixmap(QPixmap::fromImage(iconPicture(64)));
    picIcon->setFrameShape(QFrame::StyledPanel);
    picIcon->setAlignment(Qt::AlignCenter);
    picIcon->setFixedSize(80, 80);

    lblTitle = namedLabel(QStringLiteral("lblTitle"), QStringLiteral("Lotwright"), this);
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 2);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblTitle->setMinimumWidth(200);

    lblVersion = namedLabel(QStringLiteral("lblVersion"), QStringLiteral("Version 2.0"), this);
    Label1 = namedLabel(QStringLiteral("Label1"), QStringLiteral("3-D For Everyone"), this);
    QFont sloganFont = Label1->font();
    sloganFont.setItalic(true);
    Label1->setFont(sloganFont);

    // The small emblem beside OK is the same picture as the large one.
    Image1 = namedLabel(QStringLiteral("Image1"), QString(), this);
    Image1->setPixmap(
        picIcon->pixmap().scaled(24, 24, Qt::KeepAspectRatio, Qt::SmoothTransformation));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto *texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addSpacing(6);
    texts->addWidget(Label1);
    texts->addStretch();

    auto *top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(picIcon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);

    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(Image1);
    bottom->addStretch();
    bottom->addWidget(cmdOK);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 12);
    layout->addLayout(top);
    layout->addWidget(line);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
