#include "parentindex.h"

#include <algorithm>

namespace lumora {

namespace {
constexpr std::size_t kLeastNumbers = 1 << 16;
constexpr qsizetype kMostDigits = 9; // any such number fits, and no table is that large
} // namespace

int ParentIndex::add(int parent, const QString& id) {
    const int handle = static_cast<int>(m_nodes.size());
    int& siblings = parent < 0 ? m_roots : m_nodes[parent].children;
    m_nodes.push_back({parent, parent < 0 ? 0 : m_nodes[parent].depth + 1, siblings++});
    if (const std::ptrdiff_t slot = numberSlot(id); slot >= 0) {
        int& best = m_byNumber[std::size_t(slot)];
        if (best < 0 || precedes(best, handle))
            best = handle;
        return handle;
    }
    auto best = m_best.find(id);
    if (best == m_best.end())
        m_best.insert(id, handle);
    else if (precedes(*best, handle))
        *best = handle;
    return handle;
}

int ParentIndex::find(const QString& id) const {
    if (const std::ptrdiff_t slot = numberSlot(id); slot >= 0)
        return m_byNumber[std::size_t(slot)];
    return m_best.value(id, -1);
}

void ParentIndex::reserve(int nodes) {
    m_nodes.reserve(std::size_t(nodes));
    // Room for numbers up to twice the entries: ids beyond go by text.
    m_byNumber.assign(std::max<std::size_t>(2 * std::size_t(nodes), kLeastNumbers), -1);
}

std::ptrdiff_t ParentIndex::numberSlot(const QString& id) const {
    // "7" and "07" are different ids: only the plain form (no sign, no leading zero) is a
    // number here, so that one number stands for exactly one text.
    const qsizetype length = id.size();
    if (length == 0 || length > kMostDigits || (id[0] == u'0' && length > 1))
        return -1;
    std::size_t number = 0;
    for (const QChar c : id) {
        if (c < u'0' || c > u'9')
            return -1;
        number = number * 10 + std::size_t(c.unicode() - u'0');
    }
    return number < m_byNumber.size() ? std::ptrdiff_t(number) : -1;
}

bool ParentIndex::precedes(int a, int b) const {
    // An ancestor precedes its descendants; otherwise the order of the two branches below the
    // deepest common ancestor decides.
    int x = a;
    int y = b;
    while (m_nodes[x].depth > m_nodes[y].depth)
        x = m_nodes[x].parent;
    while (m_nodes[y].depth > m_nodes[x].depth)
        y = m_nodes[y].parent;
    if (x == y)
        return m_nodes[a].depth < m_nodes[b].depth;
    while (m_nodes[x].parent != m_nodes[y].parent) {
        x = m_nodes[x].parent;
        y = m_nodes[y].parent;
    }
    return m_nodes[x].position < m_nodes[y].position;
}

} // namespace lumora
