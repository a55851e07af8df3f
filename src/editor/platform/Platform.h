#pragma once
// What the program needs of the desktop, behind small interfaces. The Qt
// implementations live in QtPlatform; tests use the scripted fakes of
// FakePlatform. Nothing outside platform/ calls Qt's dialogs, message boxes,
// settings or desktop services directly.

#include <QSize>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <cstdint>
#include <optional>

class QUrl;
class QWidget;

// Message boxes, titled "Lotwright".
class MessageBoxes {
public:
    enum class Answer { Yes, No, Cancel };
    virtual ~MessageBoxes() = default;
    virtual void inform(QWidget *parent, const QString &text) = 0; // OK only
    virtual void warn(QWidget *parent, const QString &text) = 0;   // OK only, an error; selectable
    virtual Answer askYesNoCancel(QWidget *parent, const QString &text) = 0;
    // A question answered by one of buttons (the first is the default): the
    // index of the one pressed, nothing when the user escaped or closed it.
    virtual std::optional<int> askChoice(QWidget *parent, const QString &text,
                                         const QStringList &buttons) = 0;
};

// Open and save file dialogs. A filter is in the form "Lotwright Files (*.lwf}|*.lwf"
// (caption|patterns). Nothing is returned when the user cancels. Open starts
// in startFolder; Save proposes proposedPath (its folder and its name) and
// asks before replacing a file.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual std::optional<QString> openFile(QWidget *parent, const QString &filter,
                                            const QString &startFolder = QString()) = 0;
    virtual std::optional<QString> saveFile(QWidget *parent, const QString &filter,
                                            const QString &proposedPath = QString()) = 0;
};

// The colour dialog; colours are stored values (core/model/StoredColor.h).
class ColorDialog {
public:
    virtual ~ColorDialog() = default;
    virtual std::optional<int32_t> chooseColor(QWidget *parent, int32_t initial) = 0;
};

// The per-user settings store: application "Lotwright2", section "Previous".
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual QString value(const QString &key, const QString &defaultValue) = 0;
    virtual void setValue(const QString &key, const QString &value) = 0;
};

// The desktop shell: opens a local file or folder, or a link, with its
// default handler. False when nothing could open it.
class Shell {
public:
    virtual ~Shell() = default;
    virtual bool openLocalFile(const QString &path) = 0;
    virtual bool openUrl(const QUrl &url) = 0;
};

// Learns the natural size of a GIF, JPEG or PNG picture without showing it.
// Nothing for a file that is no readable GIF, JPEG or PNG picture; then *reason,
// when given, says why.
class PictureMeasure {
public:
    virtual ~PictureMeasure() = default;
    virtual std::optional<QSize> naturalSize(const QString &path, QString *reason = nullptr) = 0;
};

// The set handed to the windows. Not owning.
struct Platform {
    MessageBoxes *messages = nullptr;
    FileDialogs *fileDialogs = nullptr;
    ColorDialog *colorDialog = nullptr;
    SettingsStore *settings = nullptr;
    Shell *shell = nullptr;
    PictureMeasure *pictures = nullptr;
    // The per-user folder where unsaved work is kept for recovery.
    QString recoveryFolder;
};
