#pragma once
// The Import Object dialog for a model file: the model turning in the
// program's 3-D view as it will be placed (on a ground disc, beside a 6-foot
// figure to judge its size by), and what the user decides: its name, its
// size in feet (the longer side of its footprint, the footprint shown),
// which way is up where the file does not say, its facing in quarter turns,
// its map shape and colour (the model's average colour at first), with the
// notes of the conversion. Import checks the choices and adds the converted
// and checked model to the user's library; the dialog then holds the new
// entry. Where OpenGL cannot be had the preview says why.
//
// The work runs beside the event loop, so that the windows never wait for
// it: the file is read, and the object checked, in child processes (a
// reader that crashes or hangs costs the child only); the model is prepared
// and converted in worker threads (Qt's image routines use threads, which a
// forked child of this program cannot start safely). A busy bar and a line
// of status show the work, Cancel stops it, and nothing is written to the
// library until the check is in. A file that cannot be read is refused, by
// name and reason, and the dialog closes.

#include "core/files/ChildJob.h"
#include "core/library/ModelImport.h"
#include "core/library/ObjectLibrary.h"
#include "editor/platform/Platform.h"
#include "scene/ObjectCheck.h"

#include <QDialog>
#include <QFutureWatcher>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class ColorSwatch;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QVBoxLayout;
class WorldView;

class frmImport : public QDialog {
    Q_OBJECT

public:
    // Empty when an OpenGL context can be had, else the reason why not.
    using ContextCheck = std::function<QString()>;

    // library: the program's, for the names taken; userFolder: where the
    // object goes.
    frmImport(const Platform &platform, const QString &modelPath,
              const std::vector<ShapeInfo> &library, const QString &userFolder,
              ContextCheck contextCheck, QWidget *parent = nullptr);
    ~frmImport() override;

    // The model is being read, converted or checked.
    bool busy() const { return m_work != Work::None; }

    // After Import: the library's new entry, and what the user should know
    // of the conversion.
    const ShapeInfo &added() const { return m_added; }
    const QStringList &notes() const { return m_notes; }

    QLineEdit *txtName = nullptr;
    QLineEdit *txtSize = nullptr; // feet
    QLabel *lblFootprint = nullptr;
    QComboBox *cboUp = nullptr;       // Y, Z; disabled where the file says
    QComboBox *cboFacing = nullptr;   // quarter turns
    QComboBox *cboMapShape = nullptr; // circle, rectangle
    ColorSwatch *picMapColor = nullptr;
    QPlainTextEdit *txtNotes = nullptr;
    QProgressBar *barBusy = nullptr; // shown while busy
    QLabel *lblStatus = nullptr;     // what it does
    QPushButton *cmdImport = nullptr;
    QPushButton *cmdCancel = nullptr;
    WorldView *WorldView1 = nullptr; // none without OpenGL
    QLabel *lblPreview = nullptr;    // why there is no preview

    void reject() override; // stops the work first

signals:
    // The work is done and no more is under way.
    void idle();

protected:
    void showEvent(QShowEvent *event) override;

private:
    enum class Work { None, Reading, Preparing, Sizing, Converting, Checking };

    ModelImport::Options options() const; // the size typed, when it is one
    void begin(Work work);
    void end(); // of a piece of work, whatever comes next
    void childDone(const ChildResult &result);
    void prepared();
    void converted();
    void convert(); // at the choices shown, unless done or under way
    void check();   // the conversion, to add it
    void showWork();
    void showPreview();
    void showFootprint();
    void refuse(QWidget *field, const QString &why); // says why, and goes to the field
    void cmdImport_Click();
    void addToLibrary(const ObjectCheck &check);

    Platform m_platform;
    QString m_modelPath;
    const std::vector<ShapeInfo> &m_library;
    QString m_userFolder;
    ContextCheck m_contextCheck;
    QWidget *m_choices = nullptr; // the fields, disabled until the model is read
    QTemporaryDir m_previewFolder;
    QString m_previewWorld; // the last conversion's, in it
    int m_previewsStarted = 0;
    Work m_work = Work::None;
    ChildJob m_child; // reads the file, checks the object
    // Worker threads prepare the model and convert it; they own what they
    // use, so that a dialog that closes never waits for them.
    QFutureWatcher<ModelImport::LoadedModel> m_preparing;
    QFutureWatcher<ModelImport::Converted> m_converting; // sizing too
    std::shared_ptr<const ModelImport::LoadedModel> m_model;
    ModelImport::Options m_convertingAt;
    ModelImport::Converted m_converted;
    std::optional<ModelImport::Options> m_convertedAt; // its size, up axis and facing
    bool m_addWhenConverted = false;                   // Import was clicked
    bool m_firstConversion = true;                     // it sets the map colour and shape
    QStringList m_sizeNotes;                           // why the size is not the model's own
    QTimer m_turn;
    QVBoxLayout *m_previewLayout = nullptr;
    bool m_shown = false;
    ShapeInfo m_added;
    QStringList m_notes;
};
