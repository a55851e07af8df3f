#pragma once
// The pictures the sample worlds hang up, drawn here so that everything
// shipped is our own.

#include <QImage>
#include <QString>

#include <vector>

namespace SamplePictures {

struct Picture {
    QString fileName; // "sunset.jpg", "abstract.gif" ...
    QImage image;
};

std::vector<Picture> all();

} // namespace SamplePictures
