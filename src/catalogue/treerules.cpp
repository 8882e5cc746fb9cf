#include "treerules.h"

namespace lumora {

namespace {

bool isFolderEntry(const LumoraPlayPtr& record) {
    return !record || record->type == ProgrammeType::Folder;
}

// Calls visit(index) for every node not hidden under a collapsed parent until it returns
// false; one pass, since a parent always comes before its children.
template <typename Visit> void forEachVisible(const TreeAccess& tree, Visit visit) {
    const int n = tree.count();
    std::vector<char> open(n, 0); // node shown and expanded, so its children are shown
    for (int i = 0; i < n; ++i) {
        const int p = tree.parent(i);
        if (p >= 0 && !open[p])
            continue;
        open[i] = tree.isExpanded(i);
        if (!visit(i))
            return;
    }
}

} // namespace

int getFirstPlay(const TreeAccess& tree) {
    for (int i = 0; i < tree.count(); ++i) {
        if (!tree.hasChildren(i) && !isFolderEntry(tree.record(i)))
            return i;
    }
    return 0;
}

int getChildCount(const TreeAccess& tree, int index) {
    if (!tree.contains(index) || !tree.hasChildren(index))
        return 0;
    const int childLevel = tree.level(index) + 1;
    int count = 0;
    for (int i = index + 1; i < tree.count() && tree.level(i) == childLevel; ++i)
        ++count;
    return count;
}

ClickKind clickKind(const TreeAccess& tree, int index) {
    if (!tree.contains(index))
        return ClickKind::None;
    if (tree.hasChildren(index))
        return ClickKind::Folder;
    return isFolderEntry(tree.record(index)) ? ClickKind::None : ClickKind::Play;
}

QString accordionPathKey(const TreeAccess& tree, int index) {
    QString key = QStringLiteral(",");
    if (!tree.contains(index))
        return key;
    for (int i = index; i >= 0; i = tree.parent(i))
        key += QString::number(i) + QLatin1Char(',');
    return key;
}

std::vector<int> accordionCollapseList(const TreeAccess& tree, int index) {
    // Membership in the path key is membership in the ancestor chain: no text per node.
    if (!tree.contains(index))
        return {};
    std::vector<char> onPath(tree.count(), 0);
    for (int i = index; i >= 0; i = tree.parent(i))
        onPath[i] = 1;
    std::vector<int> close;
    for (int i = 0; i < tree.count(); ++i) {
        if (!onPath[i] && tree.isExpanded(i))
            close.push_back(i);
    }
    return close;
}

std::vector<int> applyFolderClick(CatalogueTree& tree, int index) {
    if (clickKind(tree, index) != ClickKind::Folder)
        return {};
    tree.setExpanded(index, !tree.isExpanded(index));
    std::vector<int> changed{index};
    for (int i : accordionCollapseList(tree, index)) {
        tree.setExpanded(i, false);
        changed.push_back(i);
    }
    return changed;
}

VisibleRows countVisibleRows(const TreeAccess& tree, int topIndex) {
    VisibleRows result;
    forEachVisible(tree, [&](int i) {
        ++result.rows;
        if (i < topIndex)
            ++result.above;
        return true;
    });
    return result;
}

std::optional<int> rowToNode(const TreeAccess& tree, int row) {
    std::optional<int> found;
    int seen = 0;
    forEachVisible(tree, [&](int i) {
        if (seen++ == row)
            found = i;
        return !found;
    });
    return found;
}

} // namespace lumora
