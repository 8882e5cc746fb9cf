#include "playlist.h"
#include "treefixture.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// Always draws lo + offset, at most hi.
class FixedRandom final : public RandomSource {
public:
    explicit FixedRandom(int offset) : m_offset(offset) {}
    int uniform(int lo, int hi) override { return std::min(hi, lo + m_offset); }

private:
    int m_offset;
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
        {PlayMode::Loop, 7, PlayStep{Kind::OpenFolder, 0}}, // top level: the first node, a folder
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

TEST(Playlist, AMoveOntoAFolderOpensItInsteadOfClickingIt) {
    // 0 F, 1 p1, 2 G (a folder among the programmes), 3 g1, 4 p2, 5 E (a folder entry, empty).
    const CatalogueTree tree = test::buildTree({{"0", "F", "", "F"},
                                                {"1", "p1", "F", "p1"},
                                                {"0", "G", "F", "G"},
                                                {"1", "g1", "G", "g1"},
                                                {"1", "p2", "F", "p2"},
                                                {"0", "E", "F", "E"}});
    struct Case {
        QString mode;
        int from;
        int randomOffset;
        PlayStep expected;
    };
    const Case cases[] = {
        {PlayMode::Loop, 1, 0, {Kind::OpenFolder, 2}},
        {PlayMode::Once, 1, 0, {Kind::OpenFolder, 2}},
        {PlayMode::Loop, 4, 0, {Kind::OpenFolder, 5}}, // a folder entry without children
        {PlayMode::Shuffle, 1, 0, {Kind::OpenFolder, 2}},
        {PlayMode::Shuffle, 4, 0, {Kind::Select, 1}},
        {PlayMode::Loop, 3, 0, {Kind::Select, 3}}, // alone in its folder
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode.toStdString() + " from " + std::to_string(c.from));
        FixedRandom random(c.randomOffset);
        const std::optional<PlayStep> step = nextByMode(c.mode, tree, c.from, random);
        ASSERT_TRUE(step.has_value());
        EXPECT_EQ(step->kind, c.expected.kind);
        EXPECT_EQ(step->index, c.expected.index);
    }
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
        if (step) // a folder drawn is opened instead
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

TEST(Playlist, FlashMovieEndTest) {
    const struct {
        int frame;
        int total;
        bool ended;
    } cases[] = {
        {80, 100, false},
        {81, 100, true},
        {30, 50, false},
        {31, 50, true},
        {48, 49, true},
        // Frames count from 0: a 30-frame movie ends on its 30th frame, number 29.
        {28, 30, false},
        {29, 30, true},
        {1, 2, true},
        // One frame (or none known) never ends by the frame test, however long it stays.
        {0, 1, false},
        {0, 0, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isFlashMovieEnded(c.frame, c.total), c.ended) << c.frame << "/" << c.total;
}

} // namespace
} // namespace lumora
