#pragma once

#include "cataloguetree.h"
#include "parentindex.h"

#include <optional>
#include <vector>

namespace lumora {

// What a finished load means for the caller, which owns the selection and currentNodeIndex.
struct LoadOutcome {
    int selectedIndex = -1;        // node to select, -1 when the tree is empty
    bool resetCurrentNode = false; // currentNodeIndex becomes 0 (only for a non-empty tree)
};

// Image of a programme node or search hit: the numeric type + 2; nullopt when the type is not
// a number (the node keeps image 0).
std::optional<int> programmeImage(const QString& type);

// Builds a tree from catalogue entries in document order. Each entry hangs under the node with
// the highest absolute index whose id equals its pid, or at the top level when pid is empty.
class CatalogueBuilder {
public:
    explicit CatalogueBuilder(CatalogueTree& tree); // empties the tree
    void reserve(int entries);                      // for about that many entries
    // False when the pid names no node yet: the entry is dropped.
    bool add(LumoraPlayPtr record);
    // Collapses every node, then opens node 0 and reports it selected.
    LoadOutcome finish();

private:
    CatalogueTree& m_tree;
    ParentIndex m_parents;
    std::vector<CatalogueTree::NodeId> m_nodes; // by ParentIndex handle
};

} // namespace lumora
