#include "search.h"
#include "texts.h"
#include "treefixture.h"
#include "treerules.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

using Status = SearchOutcome::Status;
using test::buildTree;
using test::outline;

CatalogueTree songs() {
    return buildTree({{"0", "1", "", "Songs"},
                      {"1", "11", "1", "Star song"},
                      {"2", "12", "1", "star light"},
                      {"0", "13", "1", "Star folder"}, // a folder entry without children
                      {"0", "2", "", "Stars with children"},
                      {"4", "21", "2", "moon"},
                      {"4", "22", "2", "Star video"}});
}

TEST(SearchKeyword, TrimsBlanksAndControlCharactersOnlyAtTheEnds) {
    EXPECT_EQ(searchKeyword(QStringLiteral(" \t星 星\r\n")), QStringLiteral("星 星"));
    EXPECT_EQ(searchKeyword(QStringLiteral("\x01x\x1f")), "x");
    EXPECT_EQ(searchKeyword(QStringLiteral("  ")), "");
    EXPECT_EQ(searchKeyword(QStringLiteral("\u3000全角\u3000")),
              QStringLiteral("\u3000全角\u3000"));
}

TEST(Search, UnusableKeywordsLeaveTheTreeAlone) {
    for (const QString& text : {QString(), QStringLiteral(" \t "), CatalogueText::SearchPlaceholder,
                                QStringLiteral(" ") + CatalogueText::SearchPlaceholder}) {
        CatalogueTree tree = songs();
        runSearch(tree, QStringLiteral("Star"));
        const QString before = outline(tree);
        EXPECT_EQ(runSearch(tree, text).status, Status::NoKeyword) << text.toStdString();
        EXPECT_EQ(outline(tree), before);
    }
}

TEST(Search, CollectsLeavesWithTheKeywordUnderOneFolderAtTheEnd) {
    CatalogueTree tree = songs();
    const SearchOutcome outcome = runSearch(tree, QStringLiteral("  Star "));
    ASSERT_EQ(outcome.status, Status::Found);
    EXPECT_EQ(outcome.hits, 3);
    // Case matters ("star light" is no hit); folders with children are no hits themselves.
    EXPECT_EQ(outline(tree).section('\n', 7),
              QStringLiteral("搜索结果\n  Star song\n  Star folder\n"
                             "  Star video\n"));
    const int folder = outcome.folderIndex;
    EXPECT_EQ(folder, 7);
    const LumoraPlayPtr record = tree.record(folder);
    EXPECT_EQ(record->type, "0");
    EXPECT_EQ(record->id, "0");
    EXPECT_TRUE(record->pid.isEmpty());
    EXPECT_EQ(record->name, CatalogueText::SearchResult);
    EXPECT_EQ(tree.imageIndex(folder), 0);
    EXPECT_EQ(tree.record(folder + 1), tree.record(1)); // shared, not copied
    EXPECT_EQ(tree.imageIndex(folder + 1), 3);
    EXPECT_EQ(tree.imageIndex(folder + 2), 2); // folder entry as a hit
    EXPECT_EQ(tree.selectedImageIndex(folder + 3), 6);

    // Opening the folder closes the catalogue's branches.
    EXPECT_FALSE(applyFolderClick(tree, folder).empty());
    EXPECT_EQ(test::expandedNodes(tree), std::vector<int>{folder});
}

TEST(Search, SecondSearchReplacesTheFolderAndIgnoresOldHits) {
    CatalogueTree tree = songs();
    runSearch(tree, QStringLiteral("Star"));
    EXPECT_EQ(searchTailStart(tree), 7); // the result folder, last
    const SearchOutcome outcome = runSearch(tree, QStringLiteral("moon"));
    ASSERT_EQ(outcome.status, Status::Found);
    EXPECT_EQ(outcome.hits, 1);
    EXPECT_EQ(tree.count(), 9);
    EXPECT_EQ(tree.topLevelCount(), 3);

    EXPECT_EQ(runSearch(tree, QStringLiteral("nowhere")).status, Status::NothingFound);
    EXPECT_EQ(tree.count(), 7);
    EXPECT_EQ(searchTailStart(tree), 7); // only appending at the end
    EXPECT_FALSE(delSearchResult(tree));
}

TEST(Search, CatalogueFolderNamedLikeTheResultIsRemovedByTheNextSearch) {
    CatalogueTree tree = buildTree({{"1", "1", "", "first"},
                                    {"0", "2", "", QStringLiteral("搜索结果")},
                                    {"1", "21", "2", "inside"},
                                    {"1", "3", "", "last"}});
    EXPECT_EQ(searchTailStart(tree), -1); // anything may change
    EXPECT_EQ(runSearch(tree, QStringLiteral("inside")).status, Status::NothingFound);
    EXPECT_EQ(outline(tree), "first\nlast\n");
}

TEST(Search, HitWithATypeThatIsNoNumberStopsTheSearchKeepingEarlierHits) {
    CatalogueTree tree = buildTree(
        {{"1", "1", "", "hit one"}, {"bad", "2", "", "hit two"}, {"1", "3", "", "hit three"}});
    const SearchOutcome outcome = runSearch(tree, QStringLiteral("hit"));
    EXPECT_EQ(outcome.status, Status::ConversionError);
    EXPECT_EQ(outcome.error, "'bad' is not a valid integer value");
    EXPECT_EQ(outline(tree).section('\n', 3), QStringLiteral("搜索结果\n  hit one\n  hit two\n"));
    EXPECT_EQ(tree.imageIndex(5), 0);
    EXPECT_FALSE(tree.isExpanded(outcome.folderIndex));
}

} // namespace
} // namespace lumora
