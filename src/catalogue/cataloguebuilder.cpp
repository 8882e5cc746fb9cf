#include "cataloguebuilder.h"

#include <limits>

namespace lumora {

std::optional<int> programmeImage(const QString& type) {
    bool ok = false;
    const int value = type.toInt(&ok, 10);
    // A value whose image would overflow counts as not a number, too.
    if (!ok || value > std::numeric_limits<int>::max() - 2)
        return std::nullopt;
    return value + 2;
}

CatalogueBuilder::CatalogueBuilder(CatalogueTree& tree) : m_tree(tree) {
    m_tree.clear();
}

void CatalogueBuilder::reserve(int entries) {
    m_tree.reserve(entries);
    m_parents.reserve(entries);
    m_nodes.reserve(std::size_t(entries));
}

bool CatalogueBuilder::add(LumoraPlayPtr record) {
    int parent = -1;
    if (!record->pid.isEmpty()) {
        parent = m_parents.find(record->pid);
        if (parent < 0)
            return false;
    }
    const QString id = record->id;
    const QString type = record->type;
    const CatalogueTree::NodeId node = parent < 0
                                           ? m_tree.appendTopLevel(std::move(record))
                                           : m_tree.appendChild(m_nodes[parent], std::move(record));
    m_parents.add(parent, id);
    m_nodes.push_back(node);
    if (type != ProgrammeType::Folder) {
        if (const std::optional<int> image = programmeImage(type))
            m_tree.setImages(node, *image, *image);
    }
    return true;
}

LoadOutcome CatalogueBuilder::finish() {
    LoadOutcome outcome;
    if (m_tree.count() == 0)
        return outcome;
    m_tree.collapseAll();
    m_tree.setExpanded(0, true);
    outcome.selectedIndex = 0;
    outcome.resetCurrentNode = true;
    return outcome;
}

} // namespace lumora
