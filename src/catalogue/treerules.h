#pragma once

#include "cataloguetree.h"
#include "treeaccess.h"

#include <QString>

#include <optional>
#include <vector>

namespace lumora {

// Absolute index of the first node without children whose type is not a folder; 0 if none.
int getFirstPlay(const TreeAccess& tree);

// Direct children of a node as the playlist counts them: from the first child forward while
// the level is one below the node's, so a child with children of its own ends the count.
// 0 for an absent node or one without children.
int getChildCount(const TreeAccess& tree, int index);

// What a click on the selected node does.
enum class ClickKind {
    None,   // no such node, or a folder entry without children
    Folder, // toggles and closes the other branches
    Play,   // remembers the index and plays the record
};
ClickKind clickKind(const TreeAccess& tree, int index);

// ",12,5,0,": the clicked node, then each ancestor up to the top level.
QString accordionPathKey(const TreeAccess& tree, int index);
// Open nodes that a folder click at index closes: all except the folder and its ancestors.
// Run after the folder was toggled.
std::vector<int> accordionCollapseList(const TreeAccess& tree, int index);
// The folder click: toggle the node, then close every branch that does not lead to it.
// Answers the nodes it set: the clicked folder, then the branches it closed; none when the
// node has no children (nothing changes).
std::vector<int> applyFolderClick(CatalogueTree& tree, int index);

// Rows not hidden under a collapsed parent, and how many of them lie before topIndex.
struct VisibleRows {
    int rows = 0;
    int above = 0;
};
VisibleRows countVisibleRows(const TreeAccess& tree, int topIndex = 0);
// Absolute index of the node shown as row number row (from 0) among the visible rows.
std::optional<int> rowToNode(const TreeAccess& tree, int row);

} // namespace lumora
