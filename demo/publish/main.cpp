// lumora-publish: lays out a catalogue and its programme files as a static tree that any web
// server can serve, each file under the name the client's download request asks for.
#include "catalogueloader.h"
#include "publish.h"

#include <QFileInfo>

#include <iostream>

int main(int argc, char** argv) {
    using namespace lumora;
    if (argc != 4) {
        std::cerr << "usage: lumora-publish CATALOGUE.xml FILES_DIR OUT_DIR\n"
                     "  FILES_DIR holds the programmes named by id (2303.swf, 2304.mp3, ...);\n"
                     "  OUT_DIR gets xml/CATALOGUE.xml and files/FOLDER/ENCIPHERED-ID.EXT\n";
        return 2;
    }
    const QString catalogue = QString::fromLocal8Bit(argv[1]);
    const std::filesystem::path out = argv[3];
    CatalogueTree tree;
    const Outcome<LoadOutcome> loaded = QFileInfo(catalogue).isFile()
                                            ? loadCatalogueFile(catalogue, tree)
                                            : Failure{QStringLiteral("no such file")};
    if (!loaded) {
        std::cerr << "lumora-publish: " << argv[1] << ": "
                  << loaded.failure().message.toLocal8Bit().constData() << '\n';
        return 1;
    }
    const demo::PublishPlan plan = demo::planPublication(tree, argv[2]);
    try {
        // The catalogue goes out byte for byte: its encoding declaration stays true.
        std::filesystem::create_directories(out / "xml");
        std::filesystem::copy_file(argv[1], out / "xml" / std::filesystem::path(argv[1]).filename(),
                                   std::filesystem::copy_options::overwrite_existing);
        for (const demo::PublishedFile& file : plan.files) {
            const auto target = out / file.target.toStdString();
            std::filesystem::create_directories(target.parent_path());
            std::filesystem::copy_file(file.source, target,
                                       std::filesystem::copy_options::overwrite_existing);
            std::cout << file.source.filename().string() << " -> " << file.target.toStdString()
                      << '\n';
        }
    } catch (const std::filesystem::filesystem_error& e) {
        std::cerr << "lumora-publish: " << e.what() << '\n';
        return 1;
    }
    for (const QString& missing : plan.missing)
        std::cerr << "lumora-publish: no file for programme " << missing.toStdString() << '\n';
    std::cout << plan.files.size() << " programmes published, " << plan.missing.size()
              << " without a file\n";
    return 0;
}
