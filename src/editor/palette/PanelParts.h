#pragma once
// Small pieces the palette's panels and the Edit Object dialog share.

#include <QLabel>

#include <initializer_list>
#include <utility>

// A caption for a field: the field's buddy, so that a screen reader names
// the field by it ("Height (Feet)").
inline QLabel *captionFor(const QString &text, QWidget *field)
{
    auto *caption = new QLabel(text);
    caption->setBuddy(field);
    return caption;
}

// Gives controls the names the program knows them by ("txt2DHeight"), so
// that tests and tools find them in the palette and in the Edit Object dialog.
inline void nameControls(std::initializer_list<std::pair<QObject *, const char *>> controls)
{
    for (const auto &[control, name] : controls)
        control->setObjectName(QLatin1String(name));
}

// A path shown in a word-wrapping label: it wraps after its separators,
// since it has no blanks to wrap at.
inline QString wrappablePath(const QString &path)
{
    QString shown = path;
    shown.replace(QLatin1Char('/'), QStringLiteral("/\u200B"));
    shown.replace(QLatin1Char('\\'), QStringLiteral("\\\u200B"));
    return shown;
}
