#include "editor/window/Clipboard.h"

#include "core/model/WorldFile.h"

#include <QMimeData>

namespace Clipboard {

namespace {

// One text in every locale, so that editors set to different languages agree.
const QLocale Locale = QLocale::c();

} // namespace

QMimeData *mimeData(const std::vector<AnyItem> &items)
{
    const QString text = WorldFile::format(worldOf(items), {}, Locale);
    auto *data = new QMimeData;
    data->setData(MimeType, text.toUtf8());
    data->setText(text);
    return data;
}

std::vector<AnyItem> items(const QMimeData &data)
{
    const QString text =
        data.hasFormat(MimeType) ? QString::fromUtf8(data.data(MimeType)) : data.text();
    const WorldRead read = WorldFile::parse(text, Locale);
    return read.ok() ? itemsOf(read.world) : std::vector<AnyItem>();
}

} // namespace Clipboard
