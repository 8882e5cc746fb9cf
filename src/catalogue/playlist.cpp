#include "playlist.h"

#include "treerules.h"

#include <algorithm>

namespace lumora {

namespace {

bool followedBySibling(const TreeAccess& tree, int index) {
    return index + 1 < tree.count() && tree.level(index + 1) == tree.level(index);
}

} // namespace

std::optional<Category> categoryOf(const TreeAccess& tree, int index) {
    if (!tree.contains(index))
        return std::nullopt;
    Category category;
    category.parent = tree.parent(index);
    if (category.parent >= 0) {
        const int count = getChildCount(tree, category.parent);
        for (int k = 1; k <= count; ++k)
            category.members.push_back(category.parent + k);
    } else {
        for (int i = 0; i < tree.count(); ++i)
            if (tree.level(i) == 0)
                category.members.push_back(i);
    }
    return category;
}

std::optional<int> nextPlainAdvance(const TreeAccess& tree, int index) {
    const std::optional<Category> category = categoryOf(tree, index);
    if (!category)
        return std::nullopt;
    return followedBySibling(tree, index) ? index + 1 : category->members.front();
}

std::optional<PlayStep> nextByMode(const QString& mode, const TreeAccess& tree, int index,
                                   RandomSource& random) {
    const std::optional<Category> category = categoryOf(tree, index);
    if (!category)
        return std::nullopt;
    auto select = [&tree](int target) {
        const bool plays = clickKind(tree, target) == ClickKind::Play;
        return PlayStep{plays ? PlayStep::Kind::Select : PlayStep::Kind::OpenFolder, target};
    };
    if (mode == PlayMode::Loop)
        return select(*nextPlainAdvance(tree, index));
    if (mode == PlayMode::Once) {
        if (followedBySibling(tree, index))
            return select(index + 1);
        return PlayStep{PlayStep::Kind::FinishedNotice, -1};
    }
    if (mode == PlayMode::Shuffle) {
        // Uniform over the whole category, never the current programme unless it is alone.
        const std::vector<int>& members = category->members;
        const int size = static_cast<int>(members.size());
        const auto own = std::find(members.begin(), members.end(), index);
        if (size == 1)
            return select(members.front());
        if (own == members.end())
            return select(members[random.uniform(0, size - 1)]);
        int pick = random.uniform(0, size - 2);
        if (pick >= own - members.begin())
            ++pick;
        return select(members[pick]);
    }
    return select(index);
}

std::optional<int> previousIndex(const TreeAccess& tree, int index) {
    const std::optional<Category> category = categoryOf(tree, index);
    if (!category)
        return std::nullopt;
    return index == category->members.front() ? category->members.back() : index - 1;
}

bool isFlashMovieEnded(int frame, int total) {
    if (total <= 1)
        return false;
    // Frames count from 0, so a short movie has ended on its last frame, total - 1: compared
    // with total itself it would never end.
    return total >= 50 ? total - frame < 20 : frame + 1 == total;
}

} // namespace lumora
