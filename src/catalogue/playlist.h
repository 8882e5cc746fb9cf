#pragma once

#include "treeaccess.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <random>
#include <vector>

namespace lumora {

// Play modes as stored in local.ini.
namespace PlayMode {
inline const QString Loop = QStringLiteral("0");    // loop the category
inline const QString Once = QStringLiteral("1");    // the category once, in order
inline const QString Repeat = QStringLiteral("2");  // the same programme again
inline const QString Shuffle = QStringLiteral("3"); // a random programme of the category
} // namespace PlayMode

// Source of uniform random integers, injected so that tests are deterministic.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual int uniform(int lo, int hi) = 0; // lo..hi, both included
};

class Mt19937RandomSource final : public RandomSource {
public:
    explicit Mt19937RandomSource(std::uint32_t seed) : m_engine(seed) {}
    int uniform(int lo, int hi) override { return std::uniform_int_distribution(lo, hi)(m_engine); }

private:
    std::mt19937 m_engine;
};

// A programme's category: its parent's children as getChildCount counts them. A programme at
// the top level has no parent; then every top-level node, in order, belongs to its category,
// so all play modes work there too.
struct Category {
    int parent = -1;          // absolute index, -1 for the top level
    std::vector<int> members; // absolute indexes in order, never empty
};
std::optional<Category> categoryOf(const TreeAccess& tree, int index);

// The next programme without a play mode (and in mode "0"): the next sibling, or the first of
// the category after its last. nullopt when index is not a node of the tree.
std::optional<int> nextPlainAdvance(const TreeAccess& tree, int index);

struct PlayStep {
    enum class Kind {
        Select,         // select index and click it
        FinishedNotice, // mode "1" ran out: show CatalogueText::PlaylistFinished, play nothing
        OpenFolder,     // the move lands on a folder: open index once and play nothing
    };
    Kind kind = Kind::Select;
    int index = -1;
};
// The move at the end of a programme by play mode; unknown modes repeat like "2". A move that
// lands on a node that does not play is OpenFolder: clicking it would toggle it on every tick.
std::optional<PlayStep> nextByMode(const QString& mode, const TreeAccess& tree, int index,
                                   RandomSource& random);

// The previous sibling, or the last programme of the category before its first.
std::optional<int> previousIndex(const TreeAccess& tree, int index);

// The tick's end test for a Flash movie at frame `frame` (from 0) of `total`. A movie of one
// frame never ends by its frame: it waits for the child or the user to move on.
bool isFlashMovieEnded(int frame, int total);

} // namespace lumora
