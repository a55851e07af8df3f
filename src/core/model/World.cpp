#include "core/model/World.h"

namespace {

// The field that decides whether element 0 is free for a new item. It is the
// key field, except for texts: removing the last text empties Text but keeps
// Kind, so that element stays behind as an unused placeholder.
bool isFree(const ObjectInfo &o) { return o.Name.isEmpty(); }
bool isFree(const PictureInfo &p) { return p.FileName.isEmpty(); }
bool isFree(const TextInfo &t) { return t.Kind.isEmpty(); }
bool isFree(const CubeInfo &c) { return c.Kind.isEmpty(); }

void clearKey(ObjectInfo &o) { o.Name.clear(); }
void clearKey(PictureInfo &p) { p.FileName.clear(); }
void clearKey(TextInfo &t) { t.Text.clear(); }
void clearKey(CubeInfo &c) { c.Kind.clear(); }

template <class T> int append(std::vector<T> &items, const T &item)
{
    if (items.empty()) {
        items.push_back(item);
        return 0;
    }
    if (isFree(items.front())) {
        items.front() = item;
        return 0;
    }
    items.push_back(item);
    return int(items.size()) - 1;
}

template <class T> void remove(std::vector<T> &items, int i)
{
    if (i < 0 || size_t(i) >= items.size())
        return;
    if (items.size() == 1)
        clearKey(items.front());
    else
        items.erase(items.begin() + i);
}

} // namespace

int appendItem(std::vector<ObjectInfo> &items, const ObjectInfo &item)
{
    return append(items, item);
}
int appendItem(std::vector<PictureInfo> &items, const PictureInfo &item)
{
    return append(items, item);
}
int appendItem(std::vector<TextInfo> &items, const TextInfo &item) { return append(items, item); }
int appendItem(std::vector<CubeInfo> &items, const CubeInfo &item) { return append(items, item); }

void removeItem(std::vector<ObjectInfo> &items, int i) { remove(items, i); }
void removeItem(std::vector<PictureInfo> &items, int i) { remove(items, i); }
void removeItem(std::vector<TextInfo> &items, int i) { remove(items, i); }
void removeItem(std::vector<CubeInfo> &items, int i) { remove(items, i); }

bool operator==(const ObjectInfo &a, const ObjectInfo &b)
{
    return a.Name == b.Name && a.X == b.X && a.Y == b.Y && a.Rotation == b.Rotation &&
           a.Anchor == b.Anchor && a.Target == b.Target;
}

bool operator==(const PictureInfo &a, const PictureInfo &b)
{
    return a.X == b.X && a.Y == b.Y && a.OffGround == b.OffGround && a.Width == b.Width &&
           a.Height == b.Height && a.Rotation == b.Rotation && a.Billboard == b.Billboard &&
           a.FileName == b.FileName && a.Anchor == b.Anchor && a.Target == b.Target;
}

bool operator==(const TextInfo &a, const TextInfo &b)
{
    return a.Text == b.Text && a.X == b.X && a.Y == b.Y && a.Color == b.Color &&
           a.Rotation == b.Rotation && a.Kind == b.Kind && a.Billboard == b.Billboard &&
           a.Anchor == b.Anchor && a.Spare == b.Spare && a.Target == b.Target;
}

bool operator==(const CubeInfo &a, const CubeInfo &b)
{
    return a.Kind == b.Kind && a.X1 == b.X1 && a.X2 == b.X2 && a.Y1 == b.Y1 && a.Y2 == b.Y2 &&
           a.Color == b.Color;
}

bool operator==(const World &a, const World &b)
{
    return a.Sky == b.Sky && a.Music == b.Music && a.Ground == b.Ground && a.Zoom == b.Zoom &&
           a.StartPosX == b.StartPosX && a.StartPosY == b.StartPosY &&
           a.StartAngle == b.StartAngle && a.Objects == b.Objects && a.Pictures == b.Pictures &&
           a.Texts == b.Texts && a.Cubes == b.Cubes;
}
