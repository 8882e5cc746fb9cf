#include "cataloguetree.h"

#include <stdexcept>
#include <utility>

namespace lumora {

namespace {
int slotOf(CatalogueTree::NodeId node) {
    return static_cast<int>(node);
}
} // namespace

void CatalogueTree::clear() {
    m_nodes.clear();
    m_roots.clear();
    m_order.clear();
    m_position.clear();
    m_orderValid = true;
}

// True when the node's subtree is the tail of the pre-order walk, so a new last child of it
// goes to the end of the index and the index stays valid.
bool CatalogueTree::endsPreOrder(int slot) const {
    for (int s = slot; s >= 0; s = m_nodes[s].parent) {
        const int up = m_nodes[s].parent;
        const std::vector<int>& siblings = up < 0 ? m_roots : m_nodes[up].children;
        if (siblings.back() != s)
            return false;
    }
    return true;
}

int CatalogueTree::add(int parentSlot, LumoraPlayPtr record) {
    const int slot = count();
    const bool atEnd = m_orderValid && (parentSlot < 0 || endsPreOrder(parentSlot));
    Node node;
    node.caption = record ? record->name : QString();
    node.record = std::move(record);
    node.parent = parentSlot;
    node.level = parentSlot < 0 ? 0 : m_nodes[parentSlot].level + 1;
    node.position =
        static_cast<int>(parentSlot < 0 ? m_roots.size() : m_nodes[parentSlot].children.size());
    m_nodes.push_back(std::move(node));
    if (parentSlot < 0)
        m_roots.push_back(slot);
    else
        m_nodes[parentSlot].children.push_back(slot);
    if (atEnd) {
        m_order.push_back(slot);
        m_position.push_back(static_cast<int>(m_order.size()) - 1);
    } else {
        m_orderValid = false;
    }
    return slot;
}

void CatalogueTree::reserve(int nodes) {
    m_nodes.reserve(std::size_t(nodes));
    m_order.reserve(std::size_t(nodes));
    m_position.reserve(std::size_t(nodes));
}

CatalogueTree::NodeId CatalogueTree::appendTopLevel(LumoraPlayPtr record) {
    return NodeId{add(-1, std::move(record))};
}

CatalogueTree::NodeId CatalogueTree::appendChild(NodeId parent, LumoraPlayPtr record) {
    const int p = slotOf(parent);
    if (p < 0 || p >= count())
        throw std::out_of_range("CatalogueTree::appendChild: no such node");
    return NodeId{add(p, std::move(record))};
}

bool CatalogueTree::removeTopLevel(int index) {
    if (!contains(index) || parent(index) >= 0)
        return false;
    ensureOrder();
    // The subtree is a contiguous run of the pre-order walk; keep everything else in order.
    const int first = index;
    int last = index + 1;
    while (last < count() && nodeAtIndex(last).level > 0)
        ++last;
    std::vector<int> newSlot(m_nodes.size(), -1);
    std::vector<Node> kept;
    kept.reserve(m_nodes.size() - (last - first));
    for (int i = 0; i < count(); ++i) {
        if (i >= first && i < last)
            continue;
        newSlot[m_order[i]] = static_cast<int>(kept.size());
        kept.push_back(std::move(m_nodes[m_order[i]]));
    }
    for (Node& node : kept) {
        if (node.parent >= 0)
            node.parent = newSlot[node.parent];
        for (int& child : node.children)
            child = newSlot[child];
    }
    std::vector<int> roots;
    for (int root : m_roots)
        if (newSlot[root] >= 0) {
            kept[newSlot[root]].position = static_cast<int>(roots.size());
            roots.push_back(newSlot[root]);
        }
    m_nodes = std::move(kept);
    m_roots = std::move(roots);
    // Slots now follow pre-order, so the index is the identity.
    m_order.resize(m_nodes.size());
    m_position.resize(m_nodes.size());
    for (int i = 0; i < count(); ++i)
        m_order[i] = m_position[i] = i;
    m_orderValid = true;
    return true;
}

void CatalogueTree::ensureOrder() const {
    if (m_orderValid)
        return;
    m_order.clear();
    m_order.reserve(m_nodes.size());
    m_position.assign(m_nodes.size(), -1);
    std::vector<int> stack(m_roots.rbegin(), m_roots.rend());
    while (!stack.empty()) {
        const int slot = stack.back();
        stack.pop_back();
        m_position[slot] = static_cast<int>(m_order.size());
        m_order.push_back(slot);
        const std::vector<int>& children = m_nodes[slot].children;
        stack.insert(stack.end(), children.rbegin(), children.rend());
    }
    m_orderValid = true;
}

int CatalogueTree::slotAt(int index) const {
    if (!contains(index))
        throw std::out_of_range("CatalogueTree: index beyond the tree");
    ensureOrder();
    return m_order[index];
}

CatalogueTree::NodeId CatalogueTree::nodeAt(int index) const {
    return NodeId{slotAt(index)};
}

int CatalogueTree::indexOf(NodeId node) const {
    const int slot = slotOf(node);
    if (slot < 0 || slot >= count())
        throw std::out_of_range("CatalogueTree::indexOf: no such node");
    ensureOrder();
    return m_position[slot];
}

int CatalogueTree::level(int index) const {
    return nodeAtIndex(index).level;
}

int CatalogueTree::parent(int index) const {
    const int p = nodeAtIndex(index).parent;
    return p < 0 ? -1 : m_position[p];
}

int CatalogueTree::childCount(int index) const {
    return static_cast<int>(nodeAtIndex(index).children.size());
}

bool CatalogueTree::isExpanded(int index) const {
    return nodeAtIndex(index).expanded;
}

LumoraPlayPtr CatalogueTree::record(int index) const {
    return nodeAtIndex(index).record;
}

QString CatalogueTree::caption(int index) const {
    return nodeAtIndex(index).caption;
}

int CatalogueTree::firstChild(int index) const {
    return hasChildren(index) ? index + 1 : -1;
}

int CatalogueTree::nextNode(int index) const {
    return contains(index) && index + 1 < count() ? index + 1 : -1;
}

int CatalogueTree::topLevelAt(int position) const {
    if (position < 0 || position >= topLevelCount())
        return -1;
    ensureOrder();
    return m_position[m_roots[position]];
}

int CatalogueTree::childAt(int parent, int position) const {
    const std::vector<int>& siblings = parent < 0 ? m_roots : nodeAtIndex(parent).children;
    if (position < 0 || position >= static_cast<int>(siblings.size()))
        return -1;
    ensureOrder();
    return m_position[siblings[position]];
}

int CatalogueTree::position(int index) const {
    return nodeAtIndex(index).position;
}

void CatalogueTree::setExpanded(int index, bool expanded) {
    Node& node = m_nodes[slotAt(index)];
    if (node.expanded == expanded)
        return;
    node.expanded = expanded;
    if (!node.children.empty())
        node.image = node.selectedImage = expanded ? kFolderOpenImage : kFolderClosedImage;
}

void CatalogueTree::collapseAll() {
    for (int i = 0; i < count(); ++i)
        setExpanded(i, false);
}

int CatalogueTree::imageIndex(int index) const {
    return nodeAtIndex(index).image;
}

int CatalogueTree::selectedImageIndex(int index) const {
    return nodeAtIndex(index).selectedImage;
}

void CatalogueTree::setImages(NodeId node, int image, int selectedImage) {
    Node& n = m_nodes.at(slotOf(node));
    n.image = image;
    n.selectedImage = selectedImage;
}

std::vector<int> CatalogueTree::siblingPath(int index) const {
    std::vector<int> path;
    for (int slot = slotAt(index); slot >= 0; slot = m_nodes[slot].parent) {
        const int up = m_nodes[slot].parent;
        const std::vector<int>& siblings = up < 0 ? m_roots : m_nodes[up].children;
        int position = 0;
        while (siblings[position] != slot)
            ++position;
        path.insert(path.begin(), position);
    }
    return path;
}

std::optional<int> CatalogueTree::indexAtPath(std::span<const int> path) const {
    if (path.empty())
        return std::nullopt;
    const std::vector<int>* siblings = &m_roots;
    int slot = -1;
    for (int position : path) {
        if (position < 0 || position >= static_cast<int>(siblings->size()))
            return std::nullopt;
        slot = (*siblings)[position];
        siblings = &m_nodes[slot].children;
    }
    ensureOrder();
    return m_position[slot];
}

} // namespace lumora
