#pragma once

#include "cataloguetree.h"

#include <QString>
#include <QStringList>

#include <filesystem>
#include <vector>

namespace lumora::demo {

// One programme file and the path under the published tree where the client's request looks.
struct PublishedFile {
    std::filesystem::path source;
    QString target; // "files/" + folder + "/" + enciphered id + extension
};

struct PublishPlan {
    std::vector<PublishedFile> files;
    QStringList missing; // "id name" of programmes without a file
};

// The folder under the published tree that urlDownload names.
inline const QString kPublishedFilesFolder = QStringLiteral("files/");

// Every programme of the catalogue whose type has a file extension, matched with the file
// "<id><extension>" of filesDir (the id as stored or without leading zeros).
PublishPlan planPublication(const CatalogueTree& tree, const std::filesystem::path& filesDir);

} // namespace lumora::demo
