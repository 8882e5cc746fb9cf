#include "cataloguebuilder.h"
#include "treefixture.h"

#include <gtest/gtest.h>

#include <random>

namespace lumora {
namespace {

using test::Entry;
using test::outline;

// The parent search as first described: walk back from the highest absolute index.
CatalogueTree naiveTree(const std::vector<LumoraPlayPtr>& records) {
    CatalogueTree tree;
    for (const LumoraPlayPtr& record : records) {
        if (record->pid.isEmpty()) {
            tree.appendTopLevel(record);
            continue;
        }
        for (int i = tree.count() - 1; i >= 0; --i) {
            if (tree.record(i)->id == record->pid) {
                tree.appendChild(tree.nodeAt(i), record);
                break;
            }
        }
    }
    return tree;
}

CatalogueTree builtTree(const std::vector<LumoraPlayPtr>& records) {
    CatalogueTree tree;
    CatalogueBuilder builder(tree);
    builder.reserve(int(records.size()));
    for (const LumoraPlayPtr& record : records)
        builder.add(record);
    return tree;
}

void expectSameTree(const CatalogueTree& expected, const CatalogueTree& actual) {
    ASSERT_EQ(expected.count(), actual.count());
    for (int i = 0; i < expected.count(); ++i) {
        ASSERT_EQ(expected.record(i), actual.record(i)) << "node " << i;
        ASSERT_EQ(expected.parent(i), actual.parent(i)) << "node " << i;
    }
}

TEST(ParentSearch, DuplicateIdTakesTheHighestIndexNotTheLatestAdded) {
    std::vector<LumoraPlayPtr> records;
    for (const Entry& e : std::vector<Entry>{{"0", "1", "", "A"},
                                             {"0", "9", "", "B"},
                                             {"0", "5", "9", "underB"},
                                             {"0", "5", "1", "underA"}, // added last, index 1
                                             {"1", "7", "5", "leaf"}})
        records.push_back(test::makeRecord(e));
    const CatalogueTree tree = builtTree(records);
    EXPECT_EQ(outline(tree), "A\n  underA\nB\n  underB\n    leaf\n");
    expectSameTree(naiveTree(records), tree);
}

// Random catalogues with few distinct ids (many duplicates), pids that name ids defined only
// later or never, and entries far from their parents. Ids are plain numbers, numbers written
// otherwise ("07" is not "7"), numbers too large to index, and words.
TEST(ParentSearch, AgreesWithTheBackwardWalkOnRandomCatalogues) {
    const QStringList forms{"%1", "0%1", "%1000000000", "+%1", "%1a", "9999999%1"};
    std::mt19937 random(20240611);
    for (int round = 0; round < 300; ++round) {
        const int size = std::uniform_int_distribution(1, 160)(random);
        const int ids = std::uniform_int_distribution(1, 25)(random);
        std::uniform_int_distribution pick(0, ids - 1);
        std::uniform_int_distribution form(0, int(forms.size()) - 1);
        const auto someId = [&] { return forms[form(random)].arg(pick(random)); };
        std::bernoulli_distribution topLevel(0.2);
        std::vector<LumoraPlayPtr> records;
        for (int n = 0; n < size; ++n) {
            const QString pid = topLevel(random) ? QString() : someId();
            records.push_back(test::makeRecord({"1", someId(), pid, QString::number(n)}));
        }
        const CatalogueTree expected = naiveTree(records);
        const CatalogueTree actual = builtTree(records);
        SCOPED_TRACE(round);
        expectSameTree(expected, actual);
        if (HasFatalFailure())
            return;
    }
}

} // namespace
} // namespace lumora
