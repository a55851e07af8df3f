#pragma once
// The 3D Objects panel: a search field over the library's list (each row the
// object's picture and name; its footprint in its map colour until the
// picture is drawn), and below it Import Object... and Remove from Library,
// which only the user's own objects allow.

#include "core/library/ObjectLibrary.h"

#include <QHash>
#include <QIcon>
#include <QWidget>

#include <vector>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

class ObjectList : public QWidget {
    Q_OBJECT

public:
    explicit ObjectList(QWidget *parent = nullptr);

    // Row i shows entry i; pictures already drawn for an object file stay.
    void fill(const std::vector<ShapeInfo> &shapes, const QString &programFolder);
    // The picture of the rows whose object file this is.
    void setIcon(const QString &objectPath, const QImage &icon);
    // Selects the row of an entry, clearing a search that hides it.
    void select(int entry);

    QLineEdit *txtFindObject = nullptr;
    QListWidget *List1 = nullptr;
    QPushButton *cmdImportObject = nullptr;
    QPushButton *cmdRemoveFromLibrary = nullptr;

signals:
    void importRequested();
    void removeRequested();

private:
    void filter(const QString &text);
    void chosenChanged();

    QHash<QString, QIcon> m_icons; // by object file
};
