#include "editor/platform/FakePlatform.h"

#include <QUrl>

namespace
{

// Takes the front of a script, or the fallback when the script has run out.
template <typename T>
T takeNext(std::deque<T> &script, const T &fallback)
{
    if (script.empty())
        return fallback;
    const T next = script.front();
    script.pop_front();
    return next;
}

} // namespace

void FakeMessageBoxes::inform(QWidget *, const QString &text)
{
    shown << text;
}

void FakeMessageBoxes::warn(QWidget *, const QString &text)
{
    shown << text;
}

MessageBoxes::Answer FakeMessageBoxes::askYesNoCancel(QWidget *, const QString &text)
{
    shown << text;
    return takeNext(answers, Answer::Cancel);
}

std::optional<int> FakeMessageBoxes::askChoice(QWidget *, const QString &text,
                                               const QStringList &buttons)
{
    shown << text;
    choiceButtons << buttons;
    return takeNext<std::optional<int>>(choices, std::nullopt);
}

std::optional<QString> FakeFileDialogs::openFile(QWidget *, const QString &filter,
                                                 const QString &startFolder)
{
    filters << filter;
    startPaths << startFolder;
    return takeNext<std::optional<QString>>(openAnswers, std::nullopt);
}

std::optional<QString> FakeFileDialogs::saveFile(QWidget *, const QString &filter,
                                                 const QString &proposedPath)
{
    filters << filter;
    startPaths << proposedPath;
    return takeNext<std::optional<QString>>(saveAnswers, std::nullopt);
}

std::optional<int32_t> FakeColorDialog::chooseColor(QWidget *, int32_t)
{
    ++calls;
    return takeNext<std::optional<int32_t>>(answers, std::nullopt);
}

QString FakeSettingsStore::value(const QString &key, const QString &defaultValue)
{
    return values.value(key, defaultValue);
}

void FakeSettingsStore::setValue(const QString &key, const QString &value)
{
    values.insert(key, value);
    writtenKeys << key;
}

bool FakeShell::openLocalFile(const QString &path)
{
    opened << path;
    return result;
}

bool FakeShell::openUrl(const QUrl &url)
{
    opened << url.toString();
    return result;
}

std::optional<QSize> FakePictureMeasure::naturalSize(const QString &path, QString *why)
{
    const auto found = sizes.constFind(path);
    if (found != sizes.constEnd())
        return *found;
    if (why)
        *why = reason;
    return std::nullopt;
}

Platform FakePlatform::platform()
{
    return Platform{&messages, &fileDialogs, &colorDialog,           &settings,
                    &shell,    &pictures,    recoveryFolder.path()};
}
