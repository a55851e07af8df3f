#include "editor/platform/QtPlatform.h"

#include "core/files/FileServices.h"
#include "core/model/StoredColor.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileInfo>
#include <QImageReader>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QPushButton>
#include <QUrl>

namespace
{

const QString Title = QStringLiteral("Lotwright");
const QString SettingsGroup = QStringLiteral("Previous/");

std::optional<QString> runFileDialog(QWidget *parent, const QString &filter,
                                     QFileDialog::AcceptMode mode, const QString &startPath)
{
    QFileDialog dialog(parent);
    prepareFileDialog(dialog, filter, mode);
    if (mode == QFileDialog::AcceptOpen)
        dialog.setDirectory(startPath);
    else if (!startPath.isEmpty())
        dialog.selectFile(startPath);
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
    // Warnings name files and addresses: selectable, to copy and open by hand.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
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

std::optional<int> QtMessageBoxes::askChoice(QWidget *parent, const QString &text,
                                             const QStringList &buttons)
{
    QMessageBox box(QMessageBox::Question, Title, text, QMessageBox::NoButton, parent);
    QList<QAbstractButton *> pressed;
    for (const QString &caption : buttons)
        pressed << box.addButton(caption, QMessageBox::AcceptRole);
    if (!pressed.isEmpty())
        box.setDefaultButton(qobject_cast<QPushButton *>(pressed.first()));
    // Escape and the title bar's close need a button to press: a hidden one.
    QAbstractButton *escape = box.addButton(QMessageBox::Cancel);
    escape->hide();
    box.setEscapeButton(escape);
    box.exec();
    const int index = int(pressed.indexOf(box.clickedButton()));
    return index >= 0 ? std::optional<int>(index) : std::nullopt;
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
    // A name typed without an extension gets the first pattern's, before the
    // dialog asks about replacing a file of that name.
    const QString pattern = filter.section(QLatin1Char('|'), 1, 1).section(QLatin1Char(';'), 0, 0);
    if (pattern.startsWith(QLatin1String("*.")) && pattern.indexOf(QLatin1Char('*'), 1) < 0)
        dialog.setDefaultSuffix(pattern.mid(2));
}

std::optional<QString> QtFileDialogs::openFile(QWidget *parent, const QString &filter,
                                               const QString &startFolder)
{
    return runFileDialog(parent, filter, QFileDialog::AcceptOpen, startFolder);
}

std::optional<QString> QtFileDialogs::saveFile(QWidget *parent, const QString &filter,
                                               const QString &proposedPath)
{
    return runFileDialog(parent, filter, QFileDialog::AcceptSave, proposedPath);
}

std::optional<int32_t> QtColorDialog::chooseColor(QWidget *parent, int32_t initial)
{
    const QColor chosen = QColorDialog::getColor(StoredColor::toQColor(initial), parent);
    if (!chosen.isValid())
        return std::nullopt;
    return StoredColor::fromQColor(chosen);
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

namespace {

// The type the desktop looks up a handler for: a link's scheme, a folder, or
// a file's content type.
QString handlerType(const QUrl &url)
{
    if (!url.isLocalFile())
        return QStringLiteral("x-scheme-handler/") + url.scheme();
    const QString path = url.toLocalFile();
    if (QFileInfo(path).isDir())
        return QStringLiteral("inode/directory");
    return QMimeDatabase().mimeTypeForFile(path).name();
}

// Qt only learns that the desktop's launcher started; when nothing handles
// the type, the launcher fails on its own and the user sees nothing. So the
// desktop is asked first. Where it cannot be asked, Qt's answer stands.
bool desktopHasHandler(const QUrl &url)
{
    if (!url.isLocalFile() && !qEnvironmentVariableIsEmpty("BROWSER"))
        return true;
    const QString query = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (query.isEmpty())
        return true;
    QProcess process;
    process.start(query, {QStringLiteral("query"), QStringLiteral("default"), handlerType(url)});
    if (!process.waitForFinished(3000) || process.exitStatus() != QProcess::NormalExit)
        return true;
    return !process.readAllStandardOutput().trimmed().isEmpty();
}

} // namespace

bool QtShell::openLocalFile(const QString &path)
{
    return openUrl(QUrl::fromLocalFile(path));
}

bool QtShell::openUrl(const QUrl &url)
{
    return desktopHasHandler(url) && QDesktopServices::openUrl(url);
}

std::optional<QSize> QtPictureMeasure::naturalSize(const QString &path, QString *reason)
{
    const auto fail = [reason](const QString &why) -> std::optional<QSize> {
        if (reason)
            *reason = why;
        return std::nullopt;
    };
    const QFileInfo file(path);
    if (!file.exists())
        return fail(QObject::tr("The file does not exist."));
    if (!file.isFile()) // a pipe or a device would block the reader
        return fail(QObject::tr("It is not an ordinary file."));
    QImageReader reader(path);
    if (!reader.canRead())
        return fail(reader.error() == QImageReader::FileNotFoundError
                        ? QObject::tr("The file cannot be opened.")
                        : QObject::tr("It is not a GIF, JPEG or PNG picture."));
    // Worlds show GIF, JPEG and PNG pictures only (what every VRML97 browser
    // reads), whatever the file's name says.
    const QByteArray format = reader.format();
    if (format != "gif" && format != "jpeg" && format != "png")
        return fail(QObject::tr("It is a %1 picture, not a GIF, JPEG or PNG picture.")
                        .arg(QString::fromLatin1(format.toUpper())));
    const QSize size = reader.size(); // read from the header, the picture is not decoded
    if (!size.isValid() || size.isEmpty())
        return fail(QObject::tr("Its size cannot be read."));
    return size;
}

Platform QtPlatform::platform()
{
    return Platform{
        &m_messages, &m_fileDialogs, &m_colorDialog, &m_settings, &m_shell, &m_pictures,
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/recovery")};
}
