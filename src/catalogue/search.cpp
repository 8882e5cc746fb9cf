#include "search.h"

#include "cataloguebuilder.h"
#include "conversionfailure.h"
#include "texts.h"

namespace lumora {

QString searchKeyword(const QString& text) {
    // Blanks and control characters: everything up to the space character.
    auto isTrimmed = [](QChar c) { return c.unicode() <= 0x20; };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isTrimmed(text[begin]))
        ++begin;
    while (end > begin && isTrimmed(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

int addSearchResult(CatalogueTree& tree) {
    auto record = std::make_shared<TLumoraPlay>();
    record->type = ProgrammeType::Folder;
    record->id = QStringLiteral("0");
    record->name = CatalogueText::SearchResult;
    const CatalogueTree::NodeId node = tree.appendTopLevel(std::move(record));
    tree.setImages(node, CatalogueTree::kFolderClosedImage, CatalogueTree::kFolderClosedImage);
    return tree.indexOf(node);
}

bool delSearchResult(CatalogueTree& tree) {
    for (int position = 0; position < tree.topLevelCount(); ++position) {
        const int index = tree.topLevelAt(position);
        if (tree.caption(index) == CatalogueText::SearchResult)
            return tree.removeTopLevel(index);
    }
    return false;
}

int searchTailStart(const CatalogueTree& tree) {
    const int count = tree.topLevelCount();
    for (int i = 0; i < count; ++i) {
        const int index = tree.topLevelAt(i);
        if (tree.caption(index) == CatalogueText::SearchResult)
            return i == count - 1 ? index : -1;
    }
    return tree.count();
}

SearchOutcome runSearch(CatalogueTree& tree, const QString& boxText) {
    using Status = SearchOutcome::Status;
    SearchOutcome outcome;
    const QString keyword = searchKeyword(boxText);
    if (keyword.isEmpty() || keyword == CatalogueText::SearchPlaceholder)
        return outcome;
    delSearchResult(tree);
    // Hits go under the new last top-level node, beyond the counted range.
    const int candidates = tree.count();
    CatalogueTree::NodeId folder{};
    for (int i = 0; i < candidates; ++i) {
        if (tree.hasChildren(i) || !tree.caption(i).contains(keyword, Qt::CaseSensitive))
            continue;
        if (outcome.hits == 0) {
            outcome.folderIndex = addSearchResult(tree);
            folder = tree.nodeAt(outcome.folderIndex);
        }
        const LumoraPlayPtr record = tree.record(i);
        const CatalogueTree::NodeId hit = tree.appendChild(folder, record);
        ++outcome.hits;
        const std::optional<int> image = programmeImage(record ? record->type : QString());
        if (!image) {
            // The hit stays, with image 0, and the search ends here.
            outcome.status = Status::ConversionError;
            outcome.error = conversionFailure(record ? record->type : QString()).message;
            return outcome;
        }
        tree.setImages(hit, *image, *image);
    }
    outcome.status = outcome.hits > 0 ? Status::Found : Status::NothingFound;
    return outcome;
}

} // namespace lumora
