#pragma once
// The Import Object dialog, for a model the importer has read: the model
// turning in the program's 3-D view as it will be placed (on a ground disc,
// beside a 6-foot figure to judge its size by), and what the user decides:
// its name, its size in feet (the longer side of its footprint, the
// footprint shown), which way is up where the file does not say, its facing
// in quarter turns, its map shape and colour (the model's average colour at
// first), with the notes of the conversion. Import checks the choices,
// converts the model and adds it to the user's library; the dialog then
// holds the new entry. Where OpenGL cannot be had the preview says why.

#include "core/library/ModelImport.h"
#include "core/library/ObjectLibrary.h"
#include "editor/platform/Platform.h"

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
    frmImport(const Platform &platform, ModelImport::LoadedModel model, const QString &modelPath,
              const std::vector<ShapeInfo> &library, const QString &userFolder,
              ContextCheck contextCheck, QWidget *parent = nullptr);
    ~frmImport() override;

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
    QPushButton *cmdImport = nullptr;
    QPushButton *cmdCancel = nullptr;
    WorldView *WorldView1 = nullptr; // none without OpenGL
    QLabel *lblPreview = nullptr;    // why there is no preview

protected:
    void showEvent(QShowEvent *event) override;

private:
    ModelImport::Options options() const; // the size typed, when it is one
    void convert();                       // again, for the preview and the footprint
    void showPreview();
    void showFootprint();
    void cmdImport_Click();

    Platform m_platform;
    ModelImport::LoadedModel m_model;
    QString m_modelPath;
    const std::vector<ShapeInfo> &m_library;
    QString m_userFolder;
    ContextCheck m_contextCheck;
    ModelImport::Converted m_converted; // at the last size, up axis and facing
    QStringList m_sizeNotes;            // why the size is not the model's own
    QTemporaryDir m_previewFolder;
    QTimer m_turn;
    QVBoxLayout *m_previewLayout = nullptr;
    bool m_shown = false;
    ShapeInfo m_added;
    QStringList m_notes;
};
