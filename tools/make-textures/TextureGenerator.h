#pragma once
// Tileable textures for the ground, streets and shrubbery, drawn from a fixed
// seed so that every run gives the same pictures.
//
// Tiling comes from two rules: the noise is periodic with the picture's size,
// and every stroke that crosses an edge is drawn again on the opposite side.

#include <QImage>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace Textures {

struct Texture {
    QString fileName; // "grass.jpg" ...
    std::function<QImage(int size, uint32_t seed)> make;
};

// The five textures the exported worlds name, in a fixed order.
const std::vector<Texture> &all();

QImage grass(int size, uint32_t seed);
QImage dirt(int size, uint32_t seed);
QImage snow(int size, uint32_t seed);
QImage asphalt(int size, uint32_t seed);
QImage leaves(int size, uint32_t seed);

} // namespace Textures
