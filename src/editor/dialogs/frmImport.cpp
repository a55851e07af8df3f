#include "editor/dialogs/frmImport.h"

#include "core/files/FileServices.h"
#include "core/library/ModelMeshes.h"
#include "core/library/UserLibrary.h"
#include "core/model/NumberText.h"
#include "core/model/StoredColor.h"
#include "core/model/Units.h"
#include "editor/palette/ColorSwatch.h"
#include "editor/palette/PanelParts.h"
#include "scene/ImportReader.h"
#include "scene/ObjectImport.h"
#include "scene/WorldView.h"

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <cmath>

namespace {

// A model whose own units make it wider than the world gets this size first.
constexpr double FallbackSize = 1; // map units: 12 feet
constexpr float TurnStep = 0.015f; // radians per tick of the turning preview
// The preview's world before the model is in: its sky alone.
const QString PreviewSky =
    QStringLiteral("#VRML V2.0 utf8\r\nBackground { skyColor [ 0.8 0.86 0.95 ] }\r\n");
// The map colour shown until the model's own is known.
constexpr int32_t NeutralColor = StoredColor::fromRgb(204, 204, 204);
// The preview shows a larger model simplified and its textures smaller: its
// first frame would hold the window (0.3 to 0.6 s for 50,000 triangles and
// a 1024-pixel texture with Mesa's software renderer), and at the preview's
// size the difference does not show.
constexpr size_t PreviewTriangles = 5000;
constexpr int PreviewTextureSide = 256;

// The threads that prepare and convert models, a pool of their own: before
// each fork a child process waits for Qt's global pool to be idle, which
// must not mean waiting for a conversion.
QThreadPool *workers()
{
    static QThreadPool *pool = new QThreadPool(qApp);
    return pool;
}

// The file's base name as a name the library can take: without the
// characters a name cannot hold, and numbered when it is taken.
QString proposedName(const QString &path, const std::vector<ShapeInfo> &library)
{
    QString base = QFileInfo(path).completeBaseName();
    for (QChar &c : base)
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || !c.isPrint())
            c = QLatin1Char(' ');
    base = base.simplified().left(50);
    while (base.startsWith(QLatin1Char('.')))
        base.remove(0, 1);
    if (base.isEmpty())
        base = QObject::tr("Imported Object");
    QString name = base;
    for (int n = 2; !UserLibrary::nameProblem(name, library).isEmpty() && n < 1000; ++n)
        name = QStringLiteral("%1 %2").arg(base).arg(n);
    return name;
}

// The world the preview shows, written with the object's textures beside it: the object on a ground
// disc, and a plain figure 6 feet tall beside it to judge its size by.
void writePreview(const QString &world, const ModelImport::Converted &object)
{
    const QString folder = QFileInfo(world).absolutePath();
    const QString nodes = object.vrml.mid(object.vrml.indexOf(QLatin1Char('\r')));
    const double ground = 0.75 * std::max(object.width, object.depth) + 0.3;
    const QString text =
        QStringLiteral(
            "%1%2\r\n"
            "Transform { translation 0 -0.005 0 children Shape {\r\n"
            "appearance Appearance { material Material { diffuseColor 0.55 0.62 0.5 } }\r\n"
            "geometry Cylinder { radius %3 height 0.01 } } }\r\n"
            "Transform { translation %4 0.25 0 children Shape {\r\n"
            "appearance Appearance { material Material { diffuseColor 0.45 0.45 0.5 } }\r\n"
            "geometry Cylinder { radius 0.05 height 0.5 } } }\r\n")
            .arg(PreviewSky, nodes, NumberText::vrmlDouble(ground),
                 NumberText::vrmlDouble(object.width / 2 + 0.2));
    // The textures first, the world last: the parent reads it once it is there.
    // (Two conversions may write the same texture at once: each file is
    // replaced whole.)
    for (const ModelImport::TextureFile &texture : object.textures) {
        QByteArray bytes = texture.bytes;
        if (const QImage image = QImage::fromData(texture.bytes);
            std::max(image.width(), image.height()) > PreviewTextureSide) {
            QBuffer smaller(&bytes);
            smaller.open(QIODevice::WriteOnly);
            image
                .scaled(PreviewTextureSide, PreviewTextureSide, Qt::KeepAspectRatio,
                        Qt::SmoothTransformation)
                .save(&smaller, texture.name.endsWith(QLatin1String(".png")) ? "PNG" : "JPEG");
        }
        (void)Files::writeBytes(Files::pathIn(folder, texture.name), bytes);
    }
    (void)Files::writeBytes(world, text.toUtf8());
}

QString feetText(double units)
{
    return NumberText::userDouble(NumberText::roundDecimals(units * Units::FeetPerUnit, 1));
}

} // namespace

frmImport::frmImport(const Platform &platform, const QString &modelPath,
                     const std::vector<ShapeInfo> &library, const QString &userFolder,
                     ContextCheck contextCheck, QWidget *parent)
    : QDialog(parent), m_platform(platform), m_modelPath(modelPath), m_library(library),
      m_userFolder(userFolder), m_contextCheck(std::move(contextCheck))
{
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(tr("Import Object - %1").arg(QFileInfo(modelPath).fileName()));
    setSizeGripEnabled(true);

    m_choices = new QWidget(this);
    txtName = new QLineEdit(proposedName(modelPath, library), m_choices);
    txtName->setMaxLength(60);
    txtSize = new QLineEdit(m_choices);
    lblFootprint = new QLabel(m_choices);
    cboUp = new QComboBox(m_choices);
    cboUp->addItems({tr("Y"), tr("Z")});
    cboFacing = new QComboBox(m_choices);
    cboFacing->addItems({tr("As modelled"), tr("A quarter turn left"), tr("A half turn"),
                         tr("A quarter turn right")});
    cboMapShape = new QComboBox(m_choices);
    cboMapShape->addItems({tr("Circle"), tr("Rectangle")});
    picMapColor = new ColorSwatch(platform.colorDialog, NeutralColor, tr("Map Color"), m_choices);
    txtNotes = new QPlainTextEdit(this);
    txtNotes->setReadOnly(true);
    txtNotes->setAccessibleName(tr("Notes on the conversion"));
    barBusy = new QProgressBar(this);
    barBusy->setRange(0, 0); // it moves without a measure
    barBusy->setTextVisible(false);
    barBusy->setMaximumHeight(barBusy->sizeHint().height() * 2 / 3);
    barBusy->setAccessibleName(tr("Working"));
    lblStatus = new QLabel(this);
    cmdImport = new QPushButton(tr("&Import"), this);
    cmdImport->setDefault(true);
    cmdCancel = new QPushButton(tr("Cancel"), this);

    auto *fields = new QGridLayout(m_choices);
    fields->setContentsMargins(0, 0, 0, 0);
    int row = 0;
    for (const auto &[caption, field] : {std::pair<QString, QWidget *>{tr("&Name"), txtName},
                                         {tr("&Size (Feet)"), txtSize},
                                         {tr("&Up Axis"), cboUp},
                                         {tr("&Facing"), cboFacing},
                                         {tr("Map S&hape"), cboMapShape},
                                         {tr("Map &Color"), picMapColor}}) {
        fields->addWidget(captionFor(caption, field), row, 0);
        fields->addWidget(field, row++, 1);
        if (field == txtSize)
            fields->addWidget(lblFootprint, row++, 1);
    }
    auto *status = new QHBoxLayout;
    status->addWidget(barBusy, 1);
    status->addWidget(lblStatus, 2);
    status->addStretch(0);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdImport);
    buttons->addWidget(cmdCancel);
    auto *form = new QVBoxLayout;
    form->addWidget(m_choices);
    form->addWidget(captionFor(tr("N&otes"), txtNotes));
    form->addWidget(txtNotes, 1);
    form->addLayout(status);
    form->addLayout(buttons);

    auto *preview = new QWidget(this);
    preview->setMinimumSize(320, 300);
    m_previewLayout = new QVBoxLayout(preview);
    m_previewLayout->setContentsMargins(0, 0, 0, 0);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(preview, 3);
    layout->addLayout(form, 2);
    resize(860, 520);

    nameControls({{txtName, "txtName"},
                  {txtSize, "txtSize"},
                  {lblFootprint, "lblFootprint"},
                  {cboUp, "cboUp"},
                  {cboFacing, "cboFacing"},
                  {cboMapShape, "cboMapShape"},
                  {picMapColor, "picMapColor"},
                  {txtNotes, "txtNotes"},
                  {barBusy, "barBusy"},
                  {lblStatus, "lblStatus"},
                  {cmdImport, "cmdImport"},
                  {cmdCancel, "cmdCancel"}});

    m_turn.setInterval(40);
    connect(&m_turn, &QTimer::timeout, this, [this] {
        if (WorldView1)
            WorldView1->turn(TurnStep);
    });
    for (QComboBox *choice : {cboUp, cboFacing})
        connect(choice, &QComboBox::currentIndexChanged, this, &frmImport::convert);
    connect(txtSize, &QLineEdit::editingFinished, this, &frmImport::convert);
    connect(cmdImport, &QPushButton::clicked, this, &frmImport::cmdImport_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(&m_child, &ChildJob::done, this, &frmImport::childDone);
    connect(&m_preparing, &QFutureWatcherBase::finished, this, &frmImport::prepared);
    connect(&m_converting, &QFutureWatcherBase::finished, this, &frmImport::converted);

    // Nothing to choose until the model is read and sized.
    m_choices->setEnabled(false);
    cmdImport->setEnabled(false);
    begin(Work::Reading);
    m_child.start(
        [path = m_modelPath] { return streamed(ModelImport::readFile(path, readerFor(path))); },
        ModelImport::SecondsAllowed);
}

frmImport::~frmImport() = default;

void frmImport::reject()
{
    m_child.cancel();
    m_work = Work::None; // what a worker still gives is not wanted
    QDialog::reject();
}

ModelImport::Options frmImport::options() const
{
    ModelImport::Options options;
    if (const std::optional<float> size = Units::fromFeet(txtSize->text());
        size && *size > 0 && *size * Units::FeetPerUnit <= Units::WorldFeet)
        options.size = *size;
    else // the preview stays as it was until the size is one
        options.size = std::max(m_converted.width, m_converted.depth);
    options.up = cboUp->currentIndex() == 1 ? ModelImport::UpAxis::Z : ModelImport::UpAxis::Y;
    options.quarterTurns = cboFacing->currentIndex();
    return options;
}

void frmImport::begin(Work work)
{
    m_work = work;
    showWork();
}

void frmImport::end()
{
    showWork();
    if (!busy())
        emit idle();
}

void frmImport::childDone(const ChildResult &result)
{
    const Work done = std::exchange(m_work, Work::None);
    if (done == Work::Reading) {
        begin(Work::Preparing);
        m_preparing.setFuture(QtConcurrent::run(workers(), [path = m_modelPath, result] {
            return ModelImport::loadedFrom(path, result);
        }));
    } else if (done == Work::Checking) {
        ObjectCheck checked;
        if (!result.ok())
            checked.problem = ModelImport::refusal(m_modelPath, result.error);
        else if (!unstreamed(result.bytes, checked))
            checked.problem =
                ModelImport::refusal(m_modelPath, tr("its check gave incomplete data"));
        addToLibrary(checked);
    }
    end();
}

void frmImport::prepared()
{
    if (std::exchange(m_work, Work::None) != Work::Preparing)
        return;
    auto model =
        std::make_shared<const ModelImport::LoadedModel>(m_preparing.future().takeResult());
    if (!model->ok()) {
        m_platform.messages->warn(this, model->error);
        reject();
        return end();
    }
    m_model = std::move(model);
    if (m_model->model.upFromFile) {
        cboUp->setItemText(0, tr("Y (as the file says)"));
        cboUp->setEnabled(false);
    }
    // The model's own size where the world can hold it.
    begin(Work::Sizing);
    m_converting.setFuture(QtConcurrent::run(workers(), [model = m_model,
                                                         name = QFileInfo(m_modelPath).fileName()] {
        return ModelImport::convertModel(*model, {std::nullopt, ModelImport::UpAxis::Y, 0}, name);
    }));
    end();
}

void frmImport::convert()
{
    const ModelImport::Options wanted = options();
    if (m_work == Work::Converting && m_convertingAt == wanted)
        return; // it comes
    if (!busy() && m_convertedAt == wanted) {
        if (m_addWhenConverted)
            check();
        return;
    }
    m_convertingAt = wanted;
    // A world of its own for each conversion: one given up may still write.
    m_previewWorld =
        m_previewFolder.filePath(QStringLiteral("preview-%1.wrl").arg(++m_previewsStarted));
    begin(Work::Converting);
    m_converting.setFuture(QtConcurrent::run(
        workers(), [model = m_model, wanted, preview = !m_addWhenConverted, world = m_previewWorld,
                    name = QFileInfo(m_modelPath).fileName()] {
            ModelImport::Converted converted = ModelImport::convertModel(*model, wanted, name);
            if (preview && converted.ok() && converted.triangles > PreviewTriangles) {
                ModelImport::LoadedModel light = *model;
                ModelMeshes::simplify(light.model.meshes, PreviewTriangles);
                writePreview(world, ModelImport::convertModel(light, wanted, name));
            } else if (preview && converted.ok()) {
                writePreview(world, converted);
            }
            return converted;
        }));
}

void frmImport::converted()
{
    const Work done = std::exchange(m_work, Work::None);
    if (done == Work::Sizing) {
        const ModelImport::Converted natural = m_converting.future().takeResult();
        double size = FallbackSize;
        if (natural.ok())
            size = std::max(natural.width, natural.depth);
        else
            m_sizeNotes << tr("In its own units (taken as metres) the model would be wider than "
                              "the world, so its size is %1 feet to begin with.")
                               .arg(feetText(FallbackSize));
        txtSize->setText(
            NumberText::userDouble(NumberText::roundDecimals(size * Units::FeetPerUnit, 2)));
        m_choices->setEnabled(true);
        cmdImport->setEnabled(true);
        txtName->setFocus();
        convert();
    } else if (done == Work::Converting) {
        m_converted = m_converting.future().takeResult();
        m_convertedAt = m_convertingAt;
        if (m_firstConversion && m_converted.ok()) {
            m_firstConversion = false;
            picMapColor->setColor(m_converted.mapColor);
            cboMapShape->setCurrentIndex(m_converted.round ? 0 : 1);
        }
        QStringList notes = m_converted.ok() ? m_converted.notes : QStringList{m_converted.error};
        notes.prepend(tr("%L1 triangles.").arg(m_converted.triangles));
        txtNotes->setPlainText((notes + m_sizeNotes).join(QLatin1Char('\n')));
        showFootprint();
        if (m_addWhenConverted)
            check();
        else
            showPreview();
    }
    end();
}

void frmImport::check()
{
    if (!m_converted.ok())
        return addToLibrary({});
    begin(Work::Checking);
    m_child.start([object = m_converted] { return streamed(checkConverted(object)); },
                  ModelImport::SecondsAllowed);
}

void frmImport::showWork()
{
    barBusy->setVisible(busy());
    switch (m_work) {
    case Work::Reading:
    case Work::Preparing:
        lblStatus->setText(tr("Reading %1...").arg(QFileInfo(m_modelPath).fileName()));
        break;
    case Work::Sizing:
    case Work::Converting:
        lblStatus->setText(tr("Converting the model..."));
        break;
    case Work::Checking:
        lblStatus->setText(tr("Checking the object..."));
        break;
    case Work::None:
        lblStatus->setText(m_converted.ok() && m_convertedAt ? tr("Ready to import.") : QString());
        break;
    }
}

void frmImport::showFootprint()
{
    lblFootprint->setText(m_converted.ok()
                              ? tr("Footprint: %1 × %2 feet")
                                    .arg(feetText(m_converted.width), feetText(m_converted.depth))
                              : QString());
}

void frmImport::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    const QString unavailable = m_contextCheck ? m_contextCheck() : QString();
    if (!unavailable.isEmpty()) {
        lblPreview = new QLabel(tr("The 3-D preview cannot be shown: %1.").arg(unavailable), this);
        lblPreview->setObjectName(QStringLiteral("lblPreview"));
        lblPreview->setWordWrap(true);
        lblPreview->setAlignment(Qt::AlignCenter);
        m_previewLayout->addWidget(lblPreview);
        return;
    }
    WorldView1 = new WorldView;
    WorldView1->setObjectName(QStringLiteral("WorldView1"));
    WorldView1->setKeyTarget(this);
    QWidget *container = QWidget::createWindowContainer(WorldView1, this); // owns the view
    container->setObjectName(QStringLiteral("picPreview"));
    container->setAccessibleName(tr("3-D preview of the object, turning"));
    container->setFocusPolicy(Qt::StrongFocus);
    m_previewLayout->addWidget(container);
    WorldView1->setMode(WorldView::Mode::Aerial);
    // The sky until the model is in, rather than a black box.
    const QString sky = m_previewFolder.filePath(QStringLiteral("sky.wrl"));
    if (Files::writeBytes(sky, PreviewSky.toUtf8()).ok())
        (void)WorldView1->load(sky);
    showPreview();
    m_turn.start();
    cmdCancel->setFocus(); // until the model is read
}

void frmImport::showPreview()
{
    if (WorldView1 && QFileInfo::exists(m_previewWorld))
        (void)WorldView1->load(m_previewWorld);
}

void frmImport::refuse(QWidget *field, const QString &why)
{
    m_platform.messages->warn(this, why);
    field->setFocus();
}

void frmImport::cmdImport_Click()
{
    const QString name = txtName->text().trimmed();
    if (const QString problem = UserLibrary::nameProblem(name, m_library); !problem.isEmpty())
        return refuse(txtName, problem);
    const std::optional<float> size = Units::fromFeet(txtSize->text());
    if (!size || !(*size > 0) || *size * Units::FeetPerUnit > Units::WorldFeet)
        return refuse(txtSize, tr("The size must be a number of feet above 0 and at most %1, "
                                  "the width of the world.")
                                   .arg(NumberText::userDouble(Units::WorldFeet)));
    // Nothing changes until the conversion at these choices is in and checked.
    m_addWhenConverted = true;
    m_choices->setEnabled(false);
    cmdImport->setEnabled(false);
    convert();
    showWork();
}

void frmImport::addToLibrary(const ObjectCheck &check)
{
    m_addWhenConverted = false;
    m_choices->setEnabled(true);
    cmdImport->setEnabled(true);
    if (!m_converted.ok())
        return refuse(txtSize, m_converted.error);
    const UserLibrary::Added added =
        addChecked(m_userFolder, txtName->text().trimmed(), m_converted, check,
                   cboMapShape->currentIndex() == 0 ? QStringLiteral("C") : QStringLiteral("R"),
                   picMapColor->color(), m_library);
    if (!added.ok())
        return refuse(txtName, added.error);
    m_added = added.entry;
    m_notes = m_converted.notes;
    accept();
}
