#pragma once
// The world model: world settings and the four item arrays, with the one
// implementation of the placeholder, append and remove rules.

#include "core/model/Types.h"

#include <vector>

struct World {
    QString Sky;    // "Blue Sky", "Red Sky", "Gray Sky", "Night Sky"; empty = blue
    QString Music;  // full path of the music file; empty = none
    QString Ground; // "Grass", "Dirt", "Snow", "Asphalt"; empty = grass
    int32_t Zoom = 1;
    double StartPosX = 50;
    double StartPosY = 96;
    double StartAngle = 0;

    // Indexed from 0 and never empty: element 0 may be an unused placeholder.
    std::vector<ObjectInfo> Objects{1};
    std::vector<PictureInfo> Pictures{1};
    std::vector<TextInfo> Texts{1};
    std::vector<CubeInfo> Cubes{1};
};

// Kind numbers: the tree's category nodes and Render2D's second argument.
// The start position is no array's element, but it can be selected and moved
// like an item: it has a kind number of its own (and its tree node's index).
enum ItemKind : int {
    KindNone = 0,
    KindObject = 1,
    KindText = 2,
    KindCube = 3,
    KindPicture = 4,
    KindStart = 5
};

// An element whose key field is empty is unused and skipped by every reader.
inline bool isUsed(const ObjectInfo &o) { return !o.Name.isEmpty(); }
inline bool isUsed(const PictureInfo &p) { return !p.FileName.isEmpty(); }
inline bool isUsed(const TextInfo &t) { return !t.Text.isEmpty(); }
inline bool isUsed(const CubeInfo &c) { return !c.Kind.isEmpty(); }

// Appends an item: it reuses element 0 when that element's tested field is
// empty (the key field, but Kind for texts), otherwise it grows the array.
// Returns the index the item went to.
int appendItem(std::vector<ObjectInfo> &items, const ObjectInfo &item);
int appendItem(std::vector<PictureInfo> &items, const PictureInfo &item);
int appendItem(std::vector<TextInfo> &items, const TextInfo &item);
int appendItem(std::vector<CubeInfo> &items, const CubeInfo &item);

// Removes element i: later elements move down by one; a lone element stays
// and only its key field is emptied. An index out of range does nothing.
void removeItem(std::vector<ObjectInfo> &items, int i);
void removeItem(std::vector<PictureInfo> &items, int i);
void removeItem(std::vector<TextInfo> &items, int i);
void removeItem(std::vector<CubeInfo> &items, int i);

// The upper bound of an array (its last index), as the world file stores it.
template <class T> int upperBound(const std::vector<T> &items) { return int(items.size()) - 1; }

bool operator==(const ObjectInfo &, const ObjectInfo &);
bool operator==(const PictureInfo &, const PictureInfo &);
bool operator==(const TextInfo &, const TextInfo &);
bool operator==(const CubeInfo &, const CubeInfo &);
bool operator==(const World &, const World &);
inline bool operator!=(const World &a, const World &b) { return !(a == b); }
