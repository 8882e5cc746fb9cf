#pragma once

#include "cataloguetree.h"

#include <QString>

namespace lumora {

// The search box text without leading and trailing blanks and control characters.
QString searchKeyword(const QString& text);

// Appends the empty result folder as the last top-level node; returns its absolute index.
int addSearchResult(CatalogueTree& tree);
// Removes the first top-level node captioned as the result folder, with its children.
bool delSearchResult(CatalogueTree& tree);

// The first absolute index a search or its removal may change: the result folder when it is the
// last top-level node, the end of the tree without one; -1 when anything may change (a catalogue
// folder named like the results lies before the end).
int searchTailStart(const CatalogueTree& tree);

struct SearchOutcome {
    enum class Status {
        NoKeyword,       // show CatalogueText::EnterKeyword
        NothingFound,    // show CatalogueText::NothingFound
        Found,           // select folderIndex and click it
        ConversionError, // a hit's type is not a number: show error; the folder stays closed
    };
    Status status = Status::NoKeyword;
    int folderIndex = -1; // the result folder, when one was made
    int hits = 0;
    QString error;
};

// Collects the nodes without children whose caption contains the keyword (letter case counts)
// under a fresh result folder. The tree is left as it is when the keyword is unusable.
SearchOutcome runSearch(CatalogueTree& tree, const QString& boxText);

} // namespace lumora
