#include "treefixture.h"
#include "treerules.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

using test::buildTree;
using test::expandedNodes;

// 0 A, 1 A1, 2 a11, 3 a12, 4 A2, 5 a21, 6 B, 7 B1, 8 b11, 9 C (empty folder), 10 p.
CatalogueTree accordionTree() {
    return buildTree({{"0", "A", "", "A"},
                      {"0", "A1", "A", "A1"},
                      {"1", "a11", "A1", "a11"},
                      {"1", "a12", "A1", "a12"},
                      {"0", "A2", "A", "A2"},
                      {"1", "a21", "A2", "a21"},
                      {"0", "B", "", "B"},
                      {"0", "B1", "B", "B1"},
                      {"1", "b11", "B1", "b11"},
                      {"0", "C", "", "C"},
                      {"2", "p", "", "p"}});
}

TEST(Accordion, PathKeyListsTheNodeThenItsAncestors) {
    const CatalogueTree tree = accordionTree();
    EXPECT_EQ(accordionPathKey(tree, 8), ",8,7,6,");
    EXPECT_EQ(accordionPathKey(tree, 0), ",0,");
    EXPECT_EQ(accordionPathKey(tree, 11), ",");
}

TEST(Accordion, ClicksFromSeveralDepthsOpenOneBranch) {
    CatalogueTree tree = accordionTree();
    ASSERT_EQ(expandedNodes(tree), std::vector<int>{0});
    struct Step {
        int click;
        bool acts;
        std::vector<int> open;
    };
    const Step steps[] = {
        {1, true, {0, 1}}, // inside the open branch: its ancestor stays open
        {4, true, {0, 4}}, // sibling folder: A1 closes
        {7, true, {7}},    // other branch: A and A2 close, the closed ancestor B stays closed
        {7, true, {}},     // an open folder closes
        {0, true, {0}},    {0, true, {}},
        {9, false, {}}, // folder entry without children: nothing
        {10, false, {}},   {42, false, {}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.click);
        EXPECT_EQ(!applyFolderClick(tree, step.click).empty(), step.acts);
        EXPECT_EQ(expandedNodes(tree), step.open);
    }
    EXPECT_EQ(tree.imageIndex(0), CatalogueTree::kFolderClosedImage);
    EXPECT_EQ(applyFolderClick(tree, 1), std::vector<int>{1});
    EXPECT_EQ(tree.imageIndex(1), CatalogueTree::kFolderOpenImage);
}

TEST(ClickKind, FoldersToggleProgrammesPlayEmptyFoldersDoNothing) {
    const CatalogueTree tree = accordionTree();
    EXPECT_EQ(clickKind(tree, 0), ClickKind::Folder);
    EXPECT_EQ(clickKind(tree, 2), ClickKind::Play);
    EXPECT_EQ(clickKind(tree, 9), ClickKind::None);
    EXPECT_EQ(clickKind(tree, 11), ClickKind::None);
    EXPECT_EQ(clickKind(tree, -1), ClickKind::None);
}

TEST(VisibleRows, RowsUnderACollapsedAncestorAreHidden) {
    CatalogueTree tree = accordionTree();
    applyFolderClick(tree, 1); // open: 0, 1
    EXPECT_EQ(countVisibleRows(tree).rows, 8);
    EXPECT_EQ(countVisibleRows(tree, 4).above, 4);
    const std::vector<std::optional<int>> nodes = {0, 1, 2, 3, 4, 6, 9, 10, std::nullopt};
    for (int row = 0; row < static_cast<int>(nodes.size()); ++row)
        EXPECT_EQ(rowToNode(tree, row), nodes[row]) << row;
    EXPECT_EQ(rowToNode(tree, -1), std::nullopt);

    applyFolderClick(tree, 7); // B1 open but B closed: its child stays hidden
    EXPECT_EQ(expandedNodes(tree), std::vector<int>{7});
    EXPECT_EQ(countVisibleRows(tree).rows, 4);
    EXPECT_EQ(countVisibleRows(CatalogueTree{}).rows, 0);
}

TEST(GetFirstPlay, SkipsFolderLeavesAndFoldersWithChildren) {
    EXPECT_EQ(getFirstPlay(accordionTree()), 2);
    EXPECT_EQ(getFirstPlay(buildTree({{"0", "e", "", "empty"},
                                      {"1", "m", "", "movie with children"},
                                      {"0", "x", "m", "folder leaf"},
                                      {"4", "v", "m", "video"}})),
              3);
    EXPECT_EQ(getFirstPlay(buildTree({{"0", "e", "", "empty"}, {"0", "f", "e", "inner"}})), 0);
    EXPECT_EQ(getFirstPlay(CatalogueTree{}), 0);
}

TEST(GetChildCount, StopsAfterAChildThatHasChildren) {
    const CatalogueTree tree = buildTree({{"0", "P", "", "P"},
                                          {"1", "c1", "P", "c1"},
                                          {"0", "c2", "P", "c2"},
                                          {"1", "g", "c2", "grandchild"},
                                          {"1", "c3", "P", "c3"},
                                          {"1", "q", "", "q"}});
    EXPECT_EQ(tree.childCount(0), 3);
    EXPECT_EQ(getChildCount(tree, 0), 2);
    EXPECT_EQ(getChildCount(tree, 2), 1);
    EXPECT_EQ(getChildCount(tree, 1), 0);
    EXPECT_EQ(getChildCount(tree, -1), 0);
    EXPECT_EQ(getChildCount(tree, 6), 0);
    // The last child of the tree ends the walk at the tree's end.
    EXPECT_EQ(getChildCount(buildTree({{"0", "P", "", "P"}, {"1", "c", "P", "c"}}), 0), 1);
}

} // namespace
} // namespace lumora
