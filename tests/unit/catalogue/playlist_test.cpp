#include "playlist.h"
#include "treefixture.h"

#include <gtest/gtest.h>

#include <map>

namespace lumora {
namespace {

using Kind = PlayStep::Kind;

// 0 A, 1 a1, 2 a2, 3 a3, 4 B, 5 b1, 6 t1, 7 t2 (t1 and t2 are programmes at the top level).
CatalogueTree playTree() {
    return test::buildTree({{"0", "A", "", "A"},
                            {"1", "a1", "A", "a1"},
                            {"1", "a2", "A", "a2"},
                            {"1", "a3", "A", "a3"},
                            {"0", "B", "", "B"},
                            {"4", "b1", "B", "b1"},
                            {"2", "t1", "", "t1"},
                            {"2", "t2", "", "t2"}});
}

// Fails the test if asked: modes other than "3" must not draw.
class NoRandom final : public RandomSource {
public:
    int uniform(int, int) override {
        ADD_FAILURE() << "unexpected draw";
        return 0;
    }
};

TEST(Playlist, MovesByModeAtTheEndsOfACategory) {
    const CatalogueTree tree = playTree();
    NoRandom random;
    struct Case {
        QString mode;
        int from;
        std::optional<PlayStep> expected;
    };
    const PlayStep notice{Kind::FinishedNotice, -1};
    auto to = [](int index) { return PlayStep{Kind::Select, index}; };
    const Case cases[] = {
        {PlayMode::Loop, 1, to(2)},
        {PlayMode::Loop, 3, to(1)}, // after the last: the first
        {PlayMode::Loop, 5, to(5)},
        {PlayMode::Loop, 6, to(7)},
        {PlayMode::Loop, 7, to(0)}, // top level: the first top-level node
        {PlayMode::Once, 2, to(3)},
        {PlayMode::Once, 3, notice},
        {PlayMode::Once, 5, notice},
        {PlayMode::Once, 7, notice},
        {PlayMode::Repeat, 2, to(2)},
        {QStringLiteral("9"), 6, to(6)},
        {PlayMode::Loop, 8, std::nullopt}, // remembered index beyond the tree
        {PlayMode::Once, -1, std::nullopt},
        {PlayMode::Repeat, 8, std::nullopt},
        {PlayMode::Shuffle, 8, std::nullopt},
        {PlayMode::Shuffle, 5, to(5)}, // alone: again
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode.toStdString() + " from " + std::to_string(c.from));
        const std::optional<PlayStep> step = nextByMode(c.mode, tree, c.from, random);
        ASSERT_EQ(step.has_value(), c.expected.has_value());
        if (step) {
            EXPECT_EQ(step->kind, c.expected->kind);
            EXPECT_EQ(step->index, c.expected->index);
        }
    }
    EXPECT_EQ(nextPlainAdvance(tree, 3), 1);
    EXPECT_EQ(nextPlainAdvance(tree, 8), std::nullopt);
}

TEST(Playlist, PreviousFromTheFirstGoesToTheLast) {
    const CatalogueTree tree = playTree();
    const std::pair<int, std::optional<int>> cases[] = {
        {1, 3}, {2, 1}, {3, 2}, {5, 5}, {0, 7}, {7, 6}, {8, std::nullopt}, {-1, std::nullopt}};
    for (const auto& [from, expected] : cases)
        EXPECT_EQ(previousIndex(tree, from), expected) << from;
}

// Draws many times and counts where the random mode goes.
std::map<int, int> draws(const CatalogueTree& tree, int from, int times) {
    Mt19937RandomSource random(7);
    std::map<int, int> seen;
    for (int n = 0; n < times; ++n) {
        const std::optional<PlayStep> step = nextByMode(PlayMode::Shuffle, tree, from, random);
        if (step && step->kind == Kind::Select)
            ++seen[step->index];
    }
    return seen;
}

TEST(Playlist, RandomCoversTheWholeCategoryButNeverTheCurrentProgramme) {
    const CatalogueTree tree = test::buildTree({{"0", "F", "", "F"},
                                                {"1", "p1", "F", "p1"},
                                                {"1", "p2", "F", "p2"},
                                                {"1", "p3", "F", "p3"},
                                                {"1", "p4", "F", "p4"},
                                                {"1", "p5", "F", "p5"},
                                                {"1", "next", "", "next"}});
    for (int from = 1; from <= 5; ++from) {
        SCOPED_TRACE(from);
        const std::map<int, int> seen = draws(tree, from, 4000);
        EXPECT_EQ(seen.count(from), 0u);
        ASSERT_EQ(seen.size(), 4u);
        for (const auto& [index, times] : seen) {
            EXPECT_GE(index, 1);
            EXPECT_LE(index, 5);
            EXPECT_GT(times, 850) << index; // 1000 expected each
            EXPECT_LT(times, 1150) << index;
        }
    }
    // Top level: the other top-level nodes.
    const std::map<int, int> top = draws(tree, 6, 400);
    EXPECT_EQ(top.size(), 1u);
    EXPECT_EQ(top.count(0), 1u);
}

} // namespace
} // namespace lumora
