#pragma once

#include "treeaccess.h"

#include <optional>
#include <span>
#include <vector>

namespace lumora {

// The programme tree without widgets. Nodes are created through stable handles (NodeId) and
// read by absolute index; the pre-order index is kept up to date while nodes are appended at
// the end of the walk and rebuilt once, lazily, after an append elsewhere or a removal.
class CatalogueTree final : public TreeAccess {
public:
    // Handle of a node; stays valid until clear() or removeTopLevel().
    enum class NodeId : int {};

    // Image list positions of a closed and an open folder.
    static constexpr int kFolderClosedImage = 0;
    static constexpr int kFolderOpenImage = 1;

    void clear();
    void reserve(int nodes); // room for that many nodes in all
    NodeId appendTopLevel(LumoraPlayPtr record);
    NodeId appendChild(NodeId parent, LumoraPlayPtr record); // as the parent's last child
    // Removes the top-level node at index with its subtree; false if it is not top-level.
    bool removeTopLevel(int index);

    NodeId nodeAt(int index) const;
    int indexOf(NodeId node) const;

    int count() const override { return static_cast<int>(m_nodes.size()); }
    int level(int index) const override;
    int parent(int index) const override;
    int childCount(int index) const override;
    bool isExpanded(int index) const override;
    LumoraPlayPtr record(int index) const override;
    QString caption(int index) const override;

    int firstChild(int index) const; // -1 without children
    int nextNode(int index) const;   // next in pre-order, -1 after the last
    int topLevelCount() const { return static_cast<int>(m_roots.size()); }
    int topLevelAt(int position) const; // absolute index of the n-th top-level node
    // Absolute index of the parent's child at position (parent -1: the top level), or -1.
    int childAt(int parent, int position) const;
    int position(int index) const; // among its siblings

    // Expanding a node with children shows the open-folder image, collapsing the closed one.
    void setExpanded(int index, bool expanded);
    void collapseAll();
    int imageIndex(int index) const;
    int selectedImageIndex(int index) const;
    void setImages(NodeId node, int image, int selectedImage);

    // Positions among siblings from the top level down; maps widget items to absolute indexes.
    std::vector<int> siblingPath(int index) const;
    std::optional<int> indexAtPath(std::span<const int> path) const;

private:
    struct Node {
        LumoraPlayPtr record;
        QString caption;
        int parent = -1; // slot
        int level = 0;
        int position = 0;          // among its siblings
        std::vector<int> children; // slots
        bool expanded = false;
        int image = 0;
        int selectedImage = 0;
    };

    int slotAt(int index) const;
    const Node& nodeAtIndex(int index) const { return m_nodes[slotAt(index)]; }
    bool endsPreOrder(int slot) const;
    int add(int parentSlot, LumoraPlayPtr record);
    void ensureOrder() const;

    std::vector<Node> m_nodes;           // by slot
    std::vector<int> m_roots;            // slots
    mutable std::vector<int> m_order;    // absolute index -> slot
    mutable std::vector<int> m_position; // slot -> absolute index
    mutable bool m_orderValid = true;
};

} // namespace lumora
