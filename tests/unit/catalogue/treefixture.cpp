#include "treefixture.h"

namespace lumora::test {

LumoraPlayPtr makeRecord(const Entry& entry) {
    auto record = std::make_shared<TLumoraPlay>();
    record->type = entry.type;
    record->id = entry.id;
    record->pid = entry.pid;
    record->name = entry.name;
    return record;
}

CatalogueTree buildTree(const std::vector<Entry>& entries) {
    CatalogueTree tree;
    CatalogueBuilder builder(tree);
    for (const Entry& entry : entries)
        builder.add(makeRecord(entry));
    builder.finish();
    return tree;
}

QString outline(const CatalogueTree& tree) {
    QString text;
    for (int i = 0; i < tree.count(); ++i)
        text += QString(tree.level(i) * 2, QLatin1Char(' ')) + tree.caption(i) + QLatin1Char('\n');
    return text;
}

std::vector<int> expandedNodes(const CatalogueTree& tree) {
    std::vector<int> open;
    for (int i = 0; i < tree.count(); ++i)
        if (tree.isExpanded(i))
            open.push_back(i);
    return open;
}

} // namespace lumora::test
