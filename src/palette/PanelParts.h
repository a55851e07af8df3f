#pragma once
// Small pieces the palette's panels and the Edit Object dialog share.

#include <QLabel>

// A caption for a field: the field's buddy, so that a screen reader names
// the field by it ("Height (Feet)").
inline QLabel *captionFor(const QString &text, QWidget *field)
{
    auto *caption = new QLabel(text);
    caption->setBuddy(field);
    return caption;
}
