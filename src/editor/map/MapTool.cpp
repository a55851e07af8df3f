#include "editor/map/MapTool.h"

#include <QLocale>

QString MapTool::statusText(const std::optional<QPointF> &pointer, const QString &hint)
{
    if (!pointer)
        return hint;
    const QLocale locale;
    return QStringLiteral("%1, %2    %3")
        .arg(locale.toString(pointer->x(), 'f', 1), locale.toString(pointer->y(), 'f', 1), hint);
}
