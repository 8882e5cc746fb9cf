#pragma once

#include "cataloguetree.h"

#include <QAbstractItemModel>

namespace lumora {

// Item data holding a node's absolute index.
inline constexpr int kTreeIndexRole = Qt::UserRole + 1;

// The programme tree as an item model: rows come from the tree's child lists, an index's
// internal id is the node's absolute index, so no object stands for a node.
class CatalogueModel final : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit CatalogueModel(const CatalogueTree& tree, QObject* parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    QModelIndex indexOfNode(int node) const;     // invalid for no such node
    static int nodeOf(const QModelIndex& index); // -1 for an invalid index
    void nodeChanged(int node);                  // its picture follows its state

    // Runs a change of the tree's structure. Nodes before tailStart stay as they are and all
    // others lie in trailing top-level branches, which are taken out and put back; a tailStart
    // of -1 resets the whole model.
    template <typename Change> auto changeTree(int tailStart, Change&& change) {
        const Restructure guard(*this, tailStart);
        return change();
    }

private:
    class Restructure {
    public:
        Restructure(CatalogueModel& model, int tailStart);
        ~Restructure();
        Restructure(const Restructure&) = delete;
        Restructure& operator=(const Restructure&) = delete;

    private:
        CatalogueModel& m_model;
        int m_firstRow; // -1: a reset
    };

    int topLevelRows() const;

    const CatalogueTree& m_tree;
    int m_shownTopLevel = -1; // while a tail is out: the top-level rows left; otherwise -1
};

} // namespace lumora
