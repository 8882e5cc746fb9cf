#include "publish.h"

#include "requests.h"

#include <set>

namespace lumora::demo {

PublishPlan planPublication(const CatalogueTree& tree, const std::filesystem::path& filesDir) {
    PublishPlan plan;
    std::set<QString> targets; // a programme may sit in several categories
    for (int i = 0; i < tree.count(); ++i) {
        const LumoraPlayPtr record = tree.record(i);
        const QString extension = record ? typeExtension(record->type) : QString();
        if (extension.isEmpty())
            continue;
        bool isNumber = false;
        const int id = record->id.toInt(&isNumber);
        std::filesystem::path source;
        for (const QString& name : {record->id, QString::number(id)}) {
            const auto candidate = filesDir / (name + extension).toStdString();
            if (isNumber && id >= 0 && std::filesystem::is_regular_file(candidate)) {
                source = candidate;
                break;
            }
        }
        if (source.empty()) {
            plan.missing << record->id + QLatin1Char(' ') + record->name;
            continue;
        }
        const QString target = downloadAddress(kPublishedFilesFolder, id, record->type);
        if (targets.insert(target).second)
            plan.files.push_back({source, target});
    }
    return plan;
}

} // namespace lumora::demo
