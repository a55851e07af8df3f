#include "editor/palette/PicturePanel.h"

#include "core/model/NumberText.h"
#include "core/model/Units.h"
#include "editor/palette/PanelParts.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cmath>

const QString PicturePanel::FileFilter =
    QStringLiteral("Pictures (*.gif *.jpg *.jpeg *.png)|*.gif;*.jpg;*.jpeg;*.png");

PicturePanel::PicturePanel(const Platform &platform, QWidget *parent)
    : QWidget(parent), m_platform(platform)
{
    lblFileName = new QLabel;
    lblFileName->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    lblFileName->setMargin(2);
    lblFileName->setWordWrap(true);
    lblFileName->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblFileName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblFileName->setMinimumHeight(2 * fontMetrics().height() + 8);
    lblFileName->setAccessibleName(tr("FileName"));
    cmd2dFind = new QPushButton(tr("Find"));
    cmd2dFind->setToolTip(tr("Choose a GIF, JPEG or PNG picture."));
    cmd2dFind->setAutoDefault(false); // in a dialog, Enter means OK
    txt2DHeight = new QLineEdit;
    txt2DWidth = new QLineEdit;
    txt2DOffGround = new QLineEdit;
    chk2DBillBoard = new QCheckBox(tr("Three-Sixty"));
    chk2DBillBoard->setToolTip(tr("Whether the full picture can be viewed from any angle."));

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(3);
    grid->addWidget(new QLabel(tr("FileName")), 0, 0);
    grid->addWidget(cmd2dFind, 0, 1, Qt::AlignRight);
    grid->addWidget(lblFileName, 1, 0, 1, 2);
    int row = 2;
    for (auto [caption, box] : {std::pair{tr("Height (Feet)"), txt2DHeight},
                                {tr("Width (Feet)"), txt2DWidth},
                                {tr("Off Ground (Feet)"), txt2DOffGround}}) {
        box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 12);
        grid->addWidget(captionFor(caption, box), row, 0);
        grid->addWidget(box, row++, 1);
    }
    grid->addWidget(chk2DBillBoard, row, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(row + 1, 1);

    nameControls({{lblFileName, "lblFileName"},
                  {cmd2dFind, "cmd2dFind"},
                  {txt2DHeight, "txt2DHeight"},
                  {txt2DWidth, "txt2DWidth"},
                  {txt2DOffGround, "txt2DOffGround"},
                  {chk2DBillBoard, "chk2DBillBoard"}});

    connect(cmd2dFind, &QPushButton::clicked, this, &PicturePanel::cmd2dFind_Click);
    // Only what the user types: a box filled in here does not answer back.
    connect(txt2DHeight, &QLineEdit::textEdited, this,
            [this] { keepProportion(txt2DHeight, txt2DWidth, true); });
    connect(txt2DWidth, &QLineEdit::textEdited, this,
            [this] { keepProportion(txt2DWidth, txt2DHeight, false); });
}

void PicturePanel::setFileName(const QString &path)
{
    m_fileName = path;
    lblFileName->setText(wrappablePath(path));
    lblFileName->setToolTip(path);
    lblFileName->setAccessibleDescription(path);
    emit fileNameChanged(path);
}

std::optional<float> PicturePanel::heightUnits() const
{
    return Units::fromFeet(txt2DHeight->text());
}
std::optional<float> PicturePanel::widthUnits() const
{
    return Units::fromFeet(txt2DWidth->text());
}
std::optional<float> PicturePanel::offGroundUnits() const
{
    return Units::fromFeet(txt2DOffGround->text());
}

std::optional<PicturePanel::SizeRefusal> PicturePanel::sizeRefusal(Wording wording)
{
    const bool placing = wording == Wording::Placing;
    // A number, then one that fits the world: above 0 for a size (at least 0
    // for the height off the ground) and no more than the land is wide.
    const auto check = [placing](QLineEdit *box, const QString &field, bool size,
                                 const QString &placingEmpty, const QString &placingNoNumber,
                                 const QString &editingNoNumber) -> std::optional<SizeRefusal> {
        if (placing && box->text().isEmpty())
            return SizeRefusal{box, placingEmpty};
        const std::optional<float> units = Units::fromFeet(box->text());
        if (!units)
            return SizeRefusal{box, placing ? placingNoNumber : editingNoNumber};
        const double feet = double(*units) * Units::FeetPerUnit;
        if (size ? !(feet > 0) : feet < 0)
            return SizeRefusal{box, size ? tr("The %1 must be more than 0 feet.").arg(field)
                                         : tr("The %1 cannot be negative.").arg(field)};
        if (feet > Units::WorldFeet)
            return SizeRefusal{box, tr("The %1 can be at most %2 feet, the width of the world.")
                                        .arg(field, NumberText::userDouble(Units::WorldFeet))};
        return std::nullopt;
    };
    if (auto refusal = check(txt2DHeight, tr("height"), true,
                             tr("Please specify a height for the image."),
                             tr("Please specify a numeric height for the image."),
                             tr("Please enter a number for height.")))
        return refusal;
    if (auto refusal = check(txt2DWidth, tr("width"), true,
                             tr("Please specify a width for the image."),
                             tr("Please specify a numeric width for the image."),
                             tr("Please enter a number for width.")))
        return refusal;
    if (txt2DOffGround->text().isEmpty())
        txt2DOffGround->setText(QStringLiteral("0"));
    const QString offGroundNoNumber = tr("Please specify a numeric value for Off Ground (Feet).");
    return check(txt2DOffGround, tr("height off the ground"), false, {}, offGroundNoNumber,
                 offGroundNoNumber);
}

void PicturePanel::showRecord(const PictureInfo &picture)
{
    setFileName(picture.FileName);
    txt2DHeight->setText(Units::toFeet(picture.Height));
    txt2DWidth->setText(Units::toFeet(picture.Width));
    txt2DOffGround->setText(Units::toFeet(picture.OffGround));
    chk2DBillBoard->setChecked(picture.Billboard);
    m_aspect = picture.Height != 0 ? double(picture.Width) / double(picture.Height) : 0;
}

void PicturePanel::clear()
{
    setFileName(QString());
    txt2DHeight->clear();
    txt2DWidth->clear();
    txt2DOffGround->clear();
    m_aspect = 0;
}

void PicturePanel::cmd2dFind_Click()
{
    const QString startFolder = m_fileName.isEmpty() ? QString() : QFileInfo(m_fileName).path();
    const std::optional<QString> chosen =
        m_platform.fileDialogs->openFile(window(), FileFilter, startFolder);
    if (!chosen || chosen->isEmpty())
        return;
    QString reason;
    const std::optional<QSize> size = m_platform.pictures->naturalSize(*chosen, &reason);
    if (!size) {
        // The world would hold a picture no export can show: keep the last choice.
        m_platform.messages->warn(window(),
                                  tr("Cannot read this picture: %1\n%2").arg(*chosen, reason));
        return;
    }
    setFileName(*chosen);
    m_aspect = double(size->width()) / double(size->height());
}

void PicturePanel::keepProportion(QLineEdit *typed, QLineEdit *other, bool heightTyped)
{
    if (m_aspect == 0)
        return;
    const std::optional<double> value = NumberText::toDouble(typed->text());
    if (!value)
        return;
    const double result =
        NumberText::roundDecimals(heightTyped ? *value * m_aspect : *value / m_aspect, 3);
    // Shown as the stored length will be shown, in the field's own precision.
    if (std::isfinite(result))
        other->setText(Units::toFeet(float(result / Units::FeetPerUnit)));
}
