#pragma once
// The surface colour of a wall, floor or ceiling. Used by the palette (which
// hides it for streets and shrubbery) and by the Edit Object dialog.

#include "editor/platform/Platform.h"

#include <QWidget>

class ColorSwatch;
class QLabel;

class SurfacePanel : public QWidget {
    Q_OBJECT

public:
    explicit SurfacePanel(const Platform &platform, QWidget *parent = nullptr);

    QLabel *lblCubesColor = nullptr; // "Surface Color"
    ColorSwatch *picCubesColor = nullptr;
};
