#include "catalogueprefetch.h"

namespace lumora {

CataloguePrefetch::CataloguePrefetch(QString path)
    : m_path(std::move(path)), m_worker([this](std::stop_token stop) {
          CatalogueTree tree;
          Outcome<LoadOutcome> outcome = loadCatalogueFile(m_path, tree, stop);
          m_loaded.emplace(LoadedCatalogue{std::move(tree), std::move(outcome)});
      }) {}

CataloguePrefetch::~CataloguePrefetch() = default;

std::optional<LoadedCatalogue> CataloguePrefetch::take(const QString& path) {
    if (!m_worker.joinable())
        return std::nullopt;
    if (path != m_path)
        m_worker.request_stop();
    m_worker.join();
    std::optional<LoadedCatalogue> loaded = std::exchange(m_loaded, std::nullopt);
    if (path != m_path)
        return std::nullopt;
    return loaded;
}

Outcome<LoadOutcome> loadCatalogue(const QString& path, CatalogueTree& tree,
                                   CataloguePrefetch* prefetch) {
    std::optional<LoadedCatalogue> loaded = prefetch ? prefetch->take(path) : std::nullopt;
    if (!loaded)
        return loadCatalogueFile(path, tree);
    tree = std::move(loaded->tree);
    return std::move(loaded->outcome);
}

} // namespace lumora
