#pragma once
// The library entries an object stands for: every entry whose Name equals the
// object's name exactly (case-sensitive), in library order. Normally one;
// none for a name missing from the library.

#include "core/library/ObjectLibrary.h"

#include <QHash>

#include <vector>

class ShapeIndex {
public:
    explicit ShapeIndex(const std::vector<ShapeInfo> &shapes);

    // Indexes into the library the index was made from.
    const std::vector<int> &matching(const QString &name) const;

private:
    QHash<QString, std::vector<int>> m_byName;
};
