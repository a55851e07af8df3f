#include "editor/dialogs/frmWorldProperties.h"

#include "editor/palette/PanelParts.h"
#include "editor/platform/Platform.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString MusicFilter =
    QStringLiteral("Internet Audio Files (*.wav,*.mid,*.mp3)|*.wav;*.mid;*.mp3");

// A selection-only list showing value, or fallback when value is empty. A
// value the list does not offer (a world file may hold "Asphalt") is shown as
// an extra entry at the end, so that OK keeps it.
QComboBox *choiceList(const char *name, const QStringList &choices, const QString &value,
                      const QString &fallback, QWidget *parent)
{
    auto *list = new QComboBox(parent);
    list->setObjectName(QLatin1String(name));
    list->addItems(choices);
    const QString shown = value.isEmpty() ? fallback : value;
    if (!choices.contains(shown))
        list->addItem(shown);
    list->setCurrentText(shown);
    return list;
}

QPushButton *button(const char *name, const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

frmWorldProperties::frmWorldProperties(FileDialogs &fileDialogs, const WorldSettings &settings,
                                       const QString &musicFolder, QWidget *parent)
    : QDialog(parent), m_fileDialogs(fileDialogs), m_settings(settings), m_musicFolder(musicFolder)
{
    setObjectName(QStringLiteral("frmWorldProperties"));
    setWindowTitle(QStringLiteral("World Properties"));

    cmbSky = choiceList("cmbSky", {"Blue Sky", "Gray Sky", "Night Sky", "Red Sky"}, settings.Sky,
                        QStringLiteral("Blue Sky"), this);
    cmbGround = choiceList("cmbGround", {"Dirt", "Grass", "Snow"}, settings.Ground,
                           QStringLiteral("Grass"), this);

    lblBackground = new QLabel(this);
    lblBackground->setObjectName(QStringLiteral("lblBackground"));
    lblBackground->setFrameShape(QFrame::StyledPanel);
    lblBackground->setWordWrap(true);
    lblBackground->setTextFormat(Qt::PlainText);
    lblBackground->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblBackground->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblBackground->setMinimumWidth(300);
    // Room for a path of two lines, so that choosing one does not resize the dialog.
    lblBackground->setMinimumHeight(2 * lblBackground->fontMetrics().lineSpacing() +
                                    2 * lblBackground->frameWidth() + 4);
    lblBackground->setAccessibleName(QStringLiteral("Background Music"));
    showMusic(settings.Music);

    cmdFind = button("cmdFind", QStringLiteral("&Find"), this);
    cmdFind->setToolTip(QStringLiteral("Choose a music file"));
    Command1 = button("Command1", QStringLiteral("Clea&r Box"), this);
    Command1->setToolTip(QStringLiteral("No background music"));
    cmdOK = button("cmdOK", QStringLiteral("&OK"), this);
    cmdOK->setDefault(true);
    cmdCancel = button("cmdCancel", QStringLiteral("&Cancel"), this);
    connect(cmdFind, &QPushButton::clicked, this, &frmWorldProperties::cmdFind_Click);
    connect(Command1, &QPushButton::clicked, this, [this] { showMusic(QString()); });
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *musicButtons = new QHBoxLayout;
    musicButtons->addWidget(cmdFind);
    musicButtons->addWidget(Command1);
    musicButtons->addStretch();

    auto *fields = new QGridLayout;
    fields->addWidget(captionFor(QStringLiteral("Sky"), cmbSky), 0, 0);
    fields->addWidget(cmbSky, 0, 1);
    fields->addWidget(captionFor(QStringLiteral("Ground Surface"), cmbGround), 1, 0);
    fields->addWidget(cmbGround, 1, 1);
    fields->addWidget(new QLabel(QStringLiteral("Background Music"), this), 2, 0, Qt::AlignTop);
    fields->addWidget(lblBackground, 2, 1);
    fields->addLayout(musicButtons, 3, 1);
    fields->setColumnStretch(1, 1);

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(cmdOK, QDialogButtonBox::AcceptRole);
    buttons->addButton(cmdCancel, QDialogButtonBox::RejectRole);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(8);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(cmbSky, cmbGround);
    setTabOrder(cmbGround, cmdFind);
    setTabOrder(cmdFind, Command1);
    setTabOrder(Command1, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
}

WorldSettings frmWorldProperties::settings() const
{
    WorldSettings chosen = m_settings;
    chosen.Sky = cmbSky->currentText();
    chosen.Ground = cmbGround->currentText();
    return chosen;
}

void frmWorldProperties::cmdFind_Click()
{
    const QString start =
        m_settings.Music.isEmpty() ? m_musicFolder : QFileInfo(m_settings.Music).absolutePath();
    const std::optional<QString> chosen = m_fileDialogs.openFile(this, MusicFilter, start);
    if (chosen && !chosen->isEmpty())
        showMusic(*chosen);
}

void frmWorldProperties::showMusic(const QString &path)
{
    m_settings.Music = path;
    lblBackground->setText(wrappablePath(path)); // rather than widen the dialog
    lblBackground->setToolTip(path);
}
