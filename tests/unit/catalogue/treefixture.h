#pragma once

#include "cataloguebuilder.h"
#include "cataloguetree.h"

#include <QString>

#include <vector>

namespace lumora::test {

struct Entry {
    QString type;
    QString id;
    QString pid;
    QString name;
};

LumoraPlayPtr makeRecord(const Entry& entry);
// Builds a tree the way the loader does, without a file.
CatalogueTree buildTree(const std::vector<Entry>& entries);
// One line per node in pre-order: indentation by level, then the caption.
QString outline(const CatalogueTree& tree);
// Indexes of the nodes that are expanded.
std::vector<int> expandedNodes(const CatalogueTree& tree);

} // namespace lumora::test
