#include "platform/QtPlatform.h"

#include "files/FileServices.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

namespace
{

const QString Title = QStringLiteral("Lotwright");
const QString SettingsGroup = QStringLiteral("Previous/");

std::optional<QString> runFileDialog(QWidget *parent, const QString &filter,
                                     QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent);
    prepareFileDialog(dialog, filter, mode);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QString chosen = dialog.selectedFiles().value(0);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

} // namespace

void QtMessageBoxes::inform(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Information, Title, text, QMessageBox::Ok, parent);
    box.exec();
}

void QtMessageBoxes::warn(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, Title, text, QMessageBox::Ok, parent);
    box.exec();
}

MessageBoxes::Answer QtMessageBoxes::askYesNoCancel(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Question, Title, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel); // also what closing the box means
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

QStringList qtNameFilters(const QString &filter)
{
    QStringList result;
    if (filter.isEmpty())
        return result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i < parts.size(); i += 2) {
        QString patterns = i + 1 < parts.size() ? parts.at(i + 1).trimmed() : QString();
        if (patterns.isEmpty())
            patterns = QStringLiteral("*");
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the last bracket pair only, so a caption
        // that holds brackets of its own stays untouched in front of it.
        result << parts.at(i) + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return result;
}

void prepareFileDialog(QFileDialog &dialog, const QString &filter, QFileDialog::AcceptMode mode)
{
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    // Without the details the type list shows each caption alone.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = qtNameFilters(filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
}

std::optional<QString> QtFileDialogs::openFile(QWidget *parent, const QString &filter)
{
    return runFileDialog(parent, filter, QFileDialog::AcceptOpen);
}

std::optional<QString> QtFileDialogs::saveFile(QWidget *parent, const QString &filter)
{
    return runFileDialog(parent, filter, QFileDialog::AcceptSave);
}

std::optional<int32_t> QtColorDialog::chooseColor(QWidget *parent, int32_t initial)
{
    const QColor start(initial & 0xff, (initial >> 8) & 0xff, (initial >> 16) & 0xff);
    const QColor chosen = QColorDialog::getColor(start, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen.red() + 256 * chosen.green() + 65536 * chosen.blue();
}

QtSettingsStore::QtSettingsStore()
    : m_settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Lotwright2"),
                 QStringLiteral("Lotwright2"))
{
}

QString QtSettingsStore::value(const QString &key, const QString &defaultValue)
{
    const QVariant stored = m_settings.value(SettingsGroup + key, defaultValue);
    // An unquoted comma in a hand-edited file makes Qt read a list.
    if (stored.metaType().id() == QMetaType::QStringList)
        return stored.toStringList().join(QLatin1Char(','));
    return stored.toString();
}

void QtSettingsStore::setValue(const QString &key, const QString &value)
{
    m_settings.setValue(SettingsGroup + key, value);
    m_settings.sync(); // the placement is written as the program ends: do not wait for later
}

bool QtShell::openLocalFile(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

std::optional<QSize> QtPictureMeasure::naturalSize(const QString &path)
{
    const PictureSize picture = Files::pictureSize(path);
    if (!picture.ok())
        return std::nullopt;
    return picture.size;
}

Platform QtPlatform::platform()
{
    return Platform{&m_messages, &m_fileDialogs, &m_colorDialog,
                    &m_settings, &m_shell,       &m_pictures};
}
