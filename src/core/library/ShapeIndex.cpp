#include "core/library/ShapeIndex.h"

ShapeIndex::ShapeIndex(const std::vector<ShapeInfo> &shapes)
{
    for (int i = 0; i < int(shapes.size()); ++i)
        m_byName[shapes[size_t(i)].Name].push_back(i);
}

const std::vector<int> &ShapeIndex::matching(const QString &name) const
{
    static const std::vector<int> none;
    const auto found = m_byName.constFind(name);
    return found == m_byName.constEnd() ? none : *found;
}
