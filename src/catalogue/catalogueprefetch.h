#pragma once

#include "catalogueloader.h"

#include <QString>

#include <optional>
#include <thread>

namespace lumora {

// A catalogue file as loadCatalogueFile reads it, with the tree it filled.
struct LoadedCatalogue {
    CatalogueTree tree;
    Outcome<LoadOutcome> outcome;
};

// Reads one catalogue file on a worker thread from construction on, so that a large catalogue
// is parsed while the rest of the program starts; the window takes the result when it needs
// its tree. Only take and the destructor touch the result, after the worker has ended.
class CataloguePrefetch {
public:
    explicit CataloguePrefetch(QString path);
    ~CataloguePrefetch(); // a read nobody took is stopped at its next entry
    CataloguePrefetch(const CataloguePrefetch&) = delete;
    CataloguePrefetch& operator=(const CataloguePrefetch&) = delete;

    // The read of path, waiting for the worker while it still reads. Any call ends the
    // prefetch: asked for another path it stops the read and answers nullopt, as every later
    // call does.
    std::optional<LoadedCatalogue> take(const QString& path);

private:
    const QString m_path;
    std::optional<LoadedCatalogue> m_loaded; // the worker's, until it is joined
    std::jthread m_worker;                   // last: stopped and joined before the rest goes
};

// Fills tree from the file at path as loadCatalogueFile does, taking prefetch's read of that
// file when there is one.
Outcome<LoadOutcome> loadCatalogue(const QString& path, CatalogueTree& tree,
                                   CataloguePrefetch* prefetch);

} // namespace lumora
