#include "cataloguetree.h"
#include "treefixture.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace lumora {
namespace {

using test::Entry;
using test::makeRecord;
using test::outline;

LumoraPlayPtr named(const char* name) {
    return makeRecord({"1", name, "", name});
}

TEST(CatalogueTree, ChildOfAnEarlierFolderLandsBeforeLaterTopLevelNodes) {
    CatalogueTree tree;
    const auto a = tree.appendTopLevel(named("A"));
    tree.appendChild(a, named("a1"));
    const auto b = tree.appendTopLevel(named("B"));
    tree.appendChild(a, named("a2")); // not at the end of the walk: the index is rebuilt
    tree.appendChild(b, named("b1"));

    EXPECT_EQ(outline(tree), "A\n  a1\n  a2\nB\n  b1\n");
    EXPECT_EQ(tree.indexOf(b), 3);
    EXPECT_EQ(tree.parent(2), 0);
    EXPECT_EQ(tree.parent(4), 3);
    EXPECT_EQ(tree.parent(3), -1);
    EXPECT_EQ(tree.level(4), 1);
    EXPECT_EQ(tree.childCount(0), 2);
    EXPECT_EQ(tree.firstChild(3), 4);
    EXPECT_EQ(tree.firstChild(4), -1);
    EXPECT_EQ(tree.nextNode(4), -1);
    EXPECT_EQ(tree.topLevelAt(1), 3);
    EXPECT_EQ(tree.caption(2), "a2");
}

TEST(CatalogueTree, RemoveTopLevelTakesTheSubtreeAndKeepsTheRest) {
    CatalogueTree tree;
    const auto a = tree.appendTopLevel(named("A"));
    const auto b = tree.appendTopLevel(named("B"));
    tree.appendTopLevel(named("C"));
    tree.appendChild(b, named("b1"));
    tree.appendChild(a, named("a1"));
    tree.setExpanded(0, true);

    EXPECT_FALSE(tree.removeTopLevel(1)); // a1 is not top-level
    EXPECT_FALSE(tree.removeTopLevel(9));
    EXPECT_TRUE(tree.removeTopLevel(2)); // B with b1
    EXPECT_EQ(outline(tree), "A\n  a1\nC\n");
    EXPECT_TRUE(tree.isExpanded(0));
    EXPECT_EQ(tree.topLevelCount(), 2);
    EXPECT_EQ(tree.position(2), 1); // C moved up among the top-level nodes
    EXPECT_EQ(tree.childAt(-1, 1), 2);
    // Handles are renewed: appending under the node now at 0 still works.
    tree.appendChild(tree.nodeAt(0), named("a2"));
    EXPECT_EQ(outline(tree), "A\n  a1\n  a2\nC\n");
}

TEST(CatalogueTree, SiblingPathsMapBothWays) {
    CatalogueTree tree;
    const auto a = tree.appendTopLevel(named("A"));
    const auto b = tree.appendTopLevel(named("B"));
    const auto a1 = tree.appendChild(a, named("a1"));
    tree.appendChild(b, named("b1"));
    tree.appendChild(a1, named("x"));
    tree.appendChild(a1, named("y"));
    for (int i = 0; i < tree.count(); ++i) {
        const std::vector<int> path = tree.siblingPath(i);
        EXPECT_EQ(tree.indexAtPath(path), i) << i;
        EXPECT_EQ(tree.childAt(tree.parent(i), tree.position(i)), i) << i;
    }
    EXPECT_EQ(tree.childAt(1, 1), 3);
    EXPECT_EQ(tree.childAt(1, 2), -1);
    EXPECT_EQ(tree.childAt(-1, 2), -1);
    EXPECT_EQ(tree.siblingPath(3), (std::vector<int>{0, 0, 1}));
    EXPECT_EQ(tree.indexAtPath(std::vector<int>{1, 0}), 5);
    EXPECT_EQ(tree.indexAtPath(std::vector<int>{1, 1}), std::nullopt);
    EXPECT_EQ(tree.indexAtPath(std::vector<int>{}), std::nullopt);
}

TEST(CatalogueTree, OnlyNodesWithChildrenSwapTheFolderImage) {
    CatalogueTree tree;
    const auto a = tree.appendTopLevel(named("A"));
    tree.appendChild(a, named("a1"));
    tree.setImages(tree.nodeAt(1), 3, 3);
    tree.setExpanded(0, true);
    tree.setExpanded(1, true);
    EXPECT_EQ(tree.imageIndex(0), CatalogueTree::kFolderOpenImage);
    EXPECT_EQ(tree.selectedImageIndex(0), CatalogueTree::kFolderOpenImage);
    EXPECT_EQ(tree.imageIndex(1), 3);
    tree.collapseAll();
    EXPECT_EQ(tree.imageIndex(0), CatalogueTree::kFolderClosedImage);
    EXPECT_FALSE(tree.isExpanded(1));
}

TEST(CatalogueTree, IndexesBeyondTheTreeThrow) {
    CatalogueTree tree;
    tree.appendTopLevel(named("A"));
    EXPECT_THROW(tree.level(1), std::out_of_range);
    EXPECT_THROW(tree.record(-1), std::out_of_range);
    EXPECT_THROW(tree.appendChild(CatalogueTree::NodeId{5}, named("x")), std::out_of_range);
    EXPECT_FALSE(tree.contains(1));
}

} // namespace
} // namespace lumora
