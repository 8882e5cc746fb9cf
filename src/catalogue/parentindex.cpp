#include "parentindex.h"

namespace lumora {

int ParentIndex::add(int parent, const QString& id) {
    const int handle = static_cast<int>(m_nodes.size());
    int& siblings = parent < 0 ? m_roots : m_nodes[parent].children;
    m_nodes.push_back({parent, parent < 0 ? 0 : m_nodes[parent].depth + 1, siblings++});
    auto best = m_best.find(id);
    if (best == m_best.end())
        m_best.insert(id, handle);
    else if (precedes(*best, handle))
        *best = handle;
    return handle;
}

void ParentIndex::reserve(int nodes) {
    m_nodes.reserve(std::size_t(nodes));
    m_best.reserve(nodes);
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
