#pragma once
// Items on the system clipboard, as a world file that holds just them (the
// world file's own writer and reader), under a private type and as plain
// text: a paste works between two running editors, and the items can travel
// as text. Text that does not read as such a file holds no items.

#include "core/model/WorldDocument.h"

#include <QString>

#include <vector>

class QMimeData;

namespace Clipboard {

inline const QString MimeType = QStringLiteral("application/x-lotwright-items");

// The clipboard's data for the items, for QClipboard::setMimeData.
QMimeData *mimeData(const std::vector<AnyItem> &items);
// The items the data holds, objects, texts, walls and pictures in their
// order; none when it holds nothing of ours.
std::vector<AnyItem> items(const QMimeData &data);

} // namespace Clipboard
