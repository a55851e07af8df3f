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
// Reading the file and converting the model run in child processes that
// the event loop watches, so that the windows never wait for them: a busy
// bar and a line of status show the work, Cancel kills it, and nothing is
// written until the child's result is in. A file that cannot be read is
// refused, by name and reason, and the dialog closes.

#include "core/files/ChildJob.h"
#include "core/library/ModelImport.h"
#include "core/library/ObjectLibrary.h"
#include "editor/platform/Platform.h"
#include "scene/ObjectCheck.h"

#include <QDialog>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
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

    // A child is reading or converting.
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
    QProgressBar *barBusy = nullptr; // shown while a child works
    QLabel *lblStatus = nullptr;     // what it does
    QPushButton *cmdImport = nullptr;
    QPushButton *cmdCancel = nullptr;
    WorldView *WorldView1 = nullptr; // none without OpenGL
    QLabel *lblPreview = nullptr;    // why there is no preview

    void reject() override; // stops the child first

signals:
    // The child's work is done and no more is under way.
    void idle();

protected:
    void showEvent(QShowEvent *event) override;

private:
    enum class Work { None, Reading, Sizing, Converting };

    ModelImport::Options options() const; // the size typed, when it is one
    void startWork(Work work, const std::function<QByteArray()> &child);
    void workDone(const ChildResult &result);
    void modelRead(const ChildResult &result);
    void modelSized(const ChildResult &result);
    void modelConverted(const ChildResult &result);
    void convert(); // at the choices shown, unless done or under way
    void showWork();
    void showPreview();
    void showFootprint();
    void refuse(QWidget *field, const QString &why); // says why, and goes to the field
    void cmdImport_Click();
    void addToLibrary(); // the conversion at the choices made, once it is in

    Platform m_platform;
    ModelImport::LoadedModel m_model;
    QString m_modelPath;
    const std::vector<ShapeInfo> &m_library;
    QString m_userFolder;
    ContextCheck m_contextCheck;
    QWidget *m_choices = nullptr;  // the fields, disabled until the model is read
    QTemporaryDir m_previewFolder; // the children write the preview's world here
    ChildJob m_job;                // ends before the folder goes
    Work m_work = Work::None;
    ModelImport::Options m_converting;  // what the running child converts
    bool m_convertingToAdd = false;     // and checks, to add it to the library
    ModelImport::Converted m_converted; // the last conversion in; its text only to add it
    std::optional<ModelImport::Options> m_convertedAt; // at this size, up axis and facing
    ObjectCheck m_check;                               // of m_converted, to add it
    bool m_addWhenConverted = false;                   // Import was clicked
    bool m_firstConversion = true;                     // it sets the map colour and shape
    QStringList m_sizeNotes;                           // why the size is not the model's own
    QTimer m_turn;
    QVBoxLayout *m_previewLayout = nullptr;
    bool m_shown = false;
    ShapeInfo m_added;
    QStringList m_notes;
};
