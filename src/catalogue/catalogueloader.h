#pragma once

#include "cataloguebuilder.h"
#include "cataloguetree.h"

#include <QString>

#include <stdexcept>
#include <string>

namespace lumora {

// A catalogue file that is not well-formed XML; what() is the parser's message.
class CatalogueError : public std::runtime_error {
public:
    explicit CatalogueError(const std::string& message) : std::runtime_error(message) {}
};

// appDir + "Resource/xml/" + channel + ".xml".
QString catalogueFilePath(const QString& appDir, int channel);

// Empties tree and fills it from the catalogue file at path. A missing file leaves the tree
// empty. Throws CatalogueError, with the tree left empty, when the file cannot be parsed.
LoadOutcome loadCatalogueFile(const QString& path, CatalogueTree& tree);

} // namespace lumora
