#pragma once

#include <QHash>
#include <QString>

#include <cstddef>
#include <vector>

namespace lumora {

// Finds, while a tree grows by appending last children, the node with the highest pre-order
// position that carries a given id. Appending never reorders existing nodes, so the best node
// per id only changes when a node with that id is added and beats it; one comparison of two
// sibling paths, O(depth), per added node keeps the whole load linear.
class ParentIndex {
public:
    // Registers a node appended as the last child of parent (a handle returned earlier, or -1
    // for the top level) and returns the new node's handle: 0, 1, 2... in order of addition.
    int add(int parent, const QString& id);
    void reserve(int nodes);
    // Handle of the node with the highest pre-order position whose id equals id, or -1.
    int find(const QString& id) const;

private:
    bool precedes(int a, int b) const; // a comes before b in pre-order
    // Where id's number lies in m_byNumber, for an id written as a plain decimal number that
    // fits there; -1 for any other id.
    std::ptrdiff_t numberSlot(const QString& id) const;

    struct Node {
        int parent;
        int depth;
        int position; // among its siblings
        int children = 0;
    };
    std::vector<Node> m_nodes;
    int m_roots = 0;
    // Catalogues number their entries, so most ids are plain numbers: their best nodes are
    // found by number, without hashing strings; -1 where none. Other ids go by text.
    std::vector<int> m_byNumber;
    QHash<QString, int> m_best;
};

} // namespace lumora
