#pragma once
// Colour text and object text for the VRML export.

#include "core/files/FileServices.h"
#include "core/library/ObjectLibrary.h"

#include <QString>
#include <cstdint>

// "R G B", each component of a stored colour (StoredColor) / 255 with six
// decimals ("1.000000 0.501961 0.000000").
QString VRMLColor(int32_t color);

// The VRML nodes of an entry's object file (in objectFolder) less its header
// line (which starts "#VRML V2.0 utf8"), so the text starts with the
// header's line end. A file without that header is refused; the error names
// the file and the reason.
TextRead GetObjectCode(const QString &programFolder, const ShapeInfo &shape);
