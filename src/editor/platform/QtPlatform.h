#pragma once
// The platform services backed by Qt: message boxes, file and colour
// dialogs, the per-user settings store, the desktop shell and picture sizes.

#include "editor/platform/Platform.h"

#include <QFileDialog>
#include <QSettings>
#include <QStringList>

class QtMessageBoxes : public MessageBoxes
{
public:
    void inform(QWidget *parent, const QString &text) override;
    void warn(QWidget *parent, const QString &text) override;
    Answer askYesNoCancel(QWidget *parent, const QString &text) override;
    std::optional<int> askChoice(QWidget *parent, const QString &text,
                                 const QStringList &buttons) override;
};

// Turns "Caption|patterns" pairs into Qt name filters "Caption (patterns)".
// The caption is kept exactly as given, brackets and all.
QStringList qtNameFilters(const QString &filter);

// Sets up a file dialog for opening (AcceptOpen) or saving (AcceptSave) with
// a "Caption|patterns" filter whose captions are shown as they are.
void prepareFileDialog(QFileDialog &dialog, const QString &filter, QFileDialog::AcceptMode mode);

class QtFileDialogs : public FileDialogs
{
public:
    std::optional<QString> openFile(QWidget *parent, const QString &filter,
                                    const QString &startFolder) override;
    std::optional<QString> saveFile(QWidget *parent, const QString &filter,
                                    const QString &proposedPath) override;
};

class QtColorDialog : public ColorDialog
{
public:
    std::optional<int32_t> chooseColor(QWidget *parent, int32_t initial) override;
};

class QtSettingsStore : public SettingsStore
{
public:
    QtSettingsStore();
    QString value(const QString &key, const QString &defaultValue) override;
    void setValue(const QString &key, const QString &value) override;

private:
    QSettings m_settings;
};

class QtShell : public Shell
{
public:
    bool openLocalFile(const QString &path) override;
    bool openUrl(const QUrl &url) override;
};

class QtPictureMeasure : public PictureMeasure
{
public:
    std::optional<QSize> naturalSize(const QString &path, QString *reason = nullptr) override;
};

class QtPlatform
{
public:
    Platform platform(); // pointers to the members below, valid while this lives

private:
    QtMessageBoxes m_messages;
    QtFileDialogs m_fileDialogs;
    QtColorDialog m_colorDialog;
    QtSettingsStore m_settings;
    QtShell m_shell;
    QtPictureMeasure m_pictures;
};
