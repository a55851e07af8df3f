#include "editor/palette/TextPanel.h"

#include "editor/palette/ColorSwatch.h"
#include "editor/palette/PanelParts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>

namespace {
constexpr int32_t White = 0xFFFFFF;
}

TextPanel::TextPanel(const Platform &platform, QWidget *parent) : QWidget(parent)
{
    txtTextText = new QLineEdit;
    optText1 = new QRadioButton(tr("Big Text"));
    optText2 = new QRadioButton(tr("Eye Level Text"));
    optText1->setChecked(true);
    auto *sizes = new QButtonGroup(this);
    sizes->addButton(optText1);
    sizes->addButton(optText2);
    picTextColor = new ColorSwatch(platform.colorDialog, White, tr("Text Color"));
    picTextColor->setToolTip(tr("Click here to set the text color."));
    chkTextBillBoard = new QCheckBox(tr("Three-Sixty"));
    chkTextBillBoard->setToolTip(tr("Whether the full text can be viewed from all angles."));

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(captionFor(tr("Text To Be Displayed"), txtTextText), 0, 0, 1, 2);
    grid->addWidget(txtTextText, 1, 0, 1, 2);
    grid->addWidget(optText1, 2, 0);
    grid->addWidget(optText2, 2, 1);
    auto *color = new QHBoxLayout;
    color->addWidget(captionFor(tr("Text Color"), picTextColor));
    color->addWidget(picTextColor);
    color->addStretch();
    grid->addLayout(color, 3, 0, 1, 2);
    grid->addWidget(chkTextBillBoard, 4, 0, 1, 2);
    grid->setRowStretch(5, 1);
    nameControls({{txtTextText, "txtTextText"},
                  {optText1, "optText1"},
                  {optText2, "optText2"},
                  {picTextColor, "picTextColor"},
                  {chkTextBillBoard, "chkTextBillBoard"}});
}

QString TextPanel::kind() const
{
    return optText1->isChecked() ? Kind::TextBig : Kind::TextEyeLevel;
}

void TextPanel::showRecord(const TextInfo &text)
{
    txtTextText->setText(text.Text);
    (text.Kind == Kind::TextBig ? optText1 : optText2)->setChecked(true);
    picTextColor->setColor(text.Color);
    chkTextBillBoard->setChecked(text.Billboard);
}

void TextPanel::applyTo(TextInfo &text) const
{
    text.Text = txtTextText->text();
    text.Kind = kind();
    text.Color = picTextColor->color();
    text.Billboard = chkTextBillBoard->isChecked();
}
