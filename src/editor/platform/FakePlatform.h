#pragma once
// Scripted fakes for tests: each call takes the next scripted answer (or a
// default) and records what was asked.

#include "editor/platform/Platform.h"

#include <QMap>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>

class FakeMessageBoxes : public MessageBoxes
{
public:
    std::deque<MessageBoxes::Answer> answers; // next answers of askYesNoCancel; Cancel when empty
    std::deque<std::optional<int>> choices;   // next answers of askChoice; escaped when empty
    QStringList shown;                        // every text shown, in order (inform, warn and ask)
    QList<QStringList> choiceButtons;         // the buttons of every askChoice, in order

    void inform(QWidget *parent, const QString &text) override;
    void warn(QWidget *parent, const QString &text) override;
    Answer askYesNoCancel(QWidget *parent, const QString &text) override;
    std::optional<int> askChoice(QWidget *parent, const QString &text,
                                 const QStringList &buttons) override;
};

class FakeFileDialogs : public FileDialogs
{
public:
    std::deque<std::optional<QString>> openAnswers; // std::nullopt or empty queue = cancelled
    std::deque<std::optional<QString>> saveAnswers;
    QStringList filters;    // every filter passed, in order
    QStringList startPaths; // every start folder (open) or proposed path (save), in order

    std::optional<QString> openFile(QWidget *parent, const QString &filter,
                                    const QString &startFolder) override;
    std::optional<QString> saveFile(QWidget *parent, const QString &filter,
                                    const QString &proposedPath) override;
};

class FakeColorDialog : public ColorDialog
{
public:
    std::deque<std::optional<int32_t>> answers; // std::nullopt or empty queue = cancelled
    int calls = 0;

    std::optional<int32_t> chooseColor(QWidget *parent, int32_t initial) override;
};

class FakeSettingsStore : public SettingsStore
{
public:
    QMap<QString, QString> values;
    QStringList writtenKeys; // every key written, in order

    QString value(const QString &key, const QString &defaultValue) override;
    void setValue(const QString &key, const QString &value) override;
};

class FakeShell : public Shell
{
public:
    QStringList opened; // every path and link asked for, in order (links as text)
    bool result = true;

    bool openLocalFile(const QString &path) override;
    bool openUrl(const QUrl &url) override;
};

class FakePictureMeasure : public PictureMeasure
{
public:
    QMap<QString, QSize> sizes; // paths not listed are unreadable, for this reason:
    QString reason = QStringLiteral("Unsupported image format");

    std::optional<QSize> naturalSize(const QString &path, QString *reason = nullptr) override;
};

struct FakePlatform {
    FakeMessageBoxes messages;
    FakeFileDialogs fileDialogs;
    FakeColorDialog colorDialog;
    FakeSettingsStore settings;
    FakeShell shell;
    FakePictureMeasure pictures;
    QTemporaryDir recoveryFolder; // a fresh one for every fake

    Platform platform(); // pointers to the members above
};
