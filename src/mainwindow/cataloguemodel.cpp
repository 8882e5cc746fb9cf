#include "cataloguemodel.h"

#include "skin.h"

#include <QIcon>

#include <array>

namespace lumora {
namespace {

// ImageList1: eight 16 x 16 pictures; images beyond the list show nothing.
const QIcon& treeImage(int index) {
    static const std::array<QIcon, 8> images = [] {
        std::array<QIcon, 8> all;
        for (int i = 0; i < 8; ++i)
            all[std::size_t(i)] = QIcon(skinPicture(QStringLiteral("imagelist1_%1").arg(i)));
        return all;
    }();
    static const QIcon none;
    return index >= 0 && index < 8 ? images[std::size_t(index)] : none;
}

} // namespace

CatalogueModel::CatalogueModel(const CatalogueTree& tree, QObject* parent)
    : QAbstractItemModel(parent), m_tree(tree) {}

QModelIndex CatalogueModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || (!parent.isValid() && row >= topLevelRows()))
        return {};
    const int node = m_tree.childAt(nodeOf(parent), row);
    return node < 0 ? QModelIndex() : createIndex(row, 0, quintptr(node));
}

QModelIndex CatalogueModel::parent(const QModelIndex& child) const {
    const int node = nodeOf(child);
    const int up = node < 0 ? -1 : m_tree.parent(node);
    return up < 0 ? QModelIndex() : createIndex(m_tree.position(up), 0, quintptr(up));
}

int CatalogueModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return topLevelRows();
    return parent.column() == 0 ? m_tree.childCount(nodeOf(parent)) : 0;
}

int CatalogueModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant CatalogueModel::data(const QModelIndex& index, int role) const {
    const int node = nodeOf(index);
    if (node < 0)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_tree.caption(node);
    case Qt::DecorationRole:
        return treeImage(m_tree.imageIndex(node));
    case kTreeIndexRole:
        return node;
    default:
        return {};
    }
}

QModelIndex CatalogueModel::indexOfNode(int node) const {
    if (!m_tree.contains(node))
        return {};
    return createIndex(m_tree.position(node), 0, quintptr(node));
}

int CatalogueModel::nodeOf(const QModelIndex& index) {
    return index.isValid() ? int(index.internalId()) : -1;
}

void CatalogueModel::nodeChanged(int node) {
    const QModelIndex at = indexOfNode(node);
    if (at.isValid())
        emit dataChanged(at, at, {Qt::DecorationRole});
}

int CatalogueModel::topLevelRows() const {
    return m_shownTopLevel < 0 ? m_tree.topLevelCount() : m_shownTopLevel;
}

CatalogueModel::Restructure::Restructure(CatalogueModel& model, int tailStart)
    : m_model(model), m_firstRow(-1) {
    const CatalogueTree& tree = model.m_tree;
    if (tailStart < 0) {
        model.beginResetModel();
        return;
    }
    const int rows = tree.topLevelCount();
    m_firstRow = 0;
    while (m_firstRow < rows && tree.topLevelAt(m_firstRow) < tailStart)
        ++m_firstRow;
    if (m_firstRow == rows) {
        model.m_shownTopLevel = rows;
        return;
    }
    model.beginRemoveRows({}, m_firstRow, rows - 1);
    model.m_shownTopLevel = m_firstRow;
    model.endRemoveRows();
}

CatalogueModel::Restructure::~Restructure() {
    if (m_firstRow < 0) {
        m_model.endResetModel();
        return;
    }
    const int rows = m_model.m_tree.topLevelCount();
    if (rows <= m_firstRow) {
        m_model.m_shownTopLevel = -1;
        return;
    }
    m_model.beginInsertRows({}, m_firstRow, rows - 1);
    m_model.m_shownTopLevel = -1;
    m_model.endInsertRows();
}

} // namespace lumora
