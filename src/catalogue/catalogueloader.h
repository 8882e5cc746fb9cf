#pragma once

#include "cataloguebuilder.h"
#include "cataloguetree.h"
#include "outcome.h"

#include <QString>

#include <stop_token>

namespace lumora {

// appDir + "Resource/xml/" + channel + ".xml".
QString catalogueFilePath(const QString& appDir, int channel);

// Empties tree and fills it from the catalogue file at path. A missing file leaves the tree
// empty. A file that is not well-formed XML fails with the parser's message, the tree left
// empty. A read stopped through stop fails, the tree left empty.
Outcome<LoadOutcome> loadCatalogueFile(const QString& path, CatalogueTree& tree,
                                       std::stop_token stop = {});

} // namespace lumora
