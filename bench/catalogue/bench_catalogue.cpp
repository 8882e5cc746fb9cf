// Catalogue timings on 1,000 folders of 99 programmes, GB2312-encoded like shipped catalogues,
// with xmllint --noout on the same files as the yardstick for the load.
#include "catalogueloader.h"
#include "gbk.h"
#include "search.h"
#include "treerules.h"

#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <vector>

namespace lumora {
namespace {

constexpr int kFolders = 1000;
constexpr int kProgrammes = 99;

struct Files {
    QTemporaryDir dir;
    QString ordered;   // each folder followed by its programmes
    QString scattered; // all folders first, then programme k of every folder in turn
    double xmllintOrderedMs = 0;
    double xmllintScatteredMs = 0;
};
Files* g_files = nullptr;

std::string entry(int type, int id, int pid, const QString& name) {
    return "<item type=\"" + std::to_string(type) + "\" id=\"" + std::to_string(id) + "\" pid=\"" +
           (pid < 0 ? std::string() : std::to_string(pid)) + "\" name=\"" + toGbk(name) + "\"/>\n";
}
std::string folder(int f) {
    return entry(0, f + 1, -1, QStringLiteral("第%1单元 儿歌").arg(f + 1));
}
std::string programme(int f, int k) {
    const int id = kFolders + 1 + f * kProgrammes + k;
    return entry(1 + k % 4, id, f + 1, QStringLiteral("小星星%1 第%2集").arg(f).arg(k));
}

void writeCatalogue(const QString& path, bool scattered) {
    std::ofstream out(path.toStdString(), std::ios::binary);
    out << "<?xml version=\"1.0\" encoding=\"gb2312\"?>\n<list>\n";
    if (scattered) {
        for (int f = 0; f < kFolders; ++f)
            out << folder(f);
        for (int k = 0; k < kProgrammes; ++k)
            for (int f = 0; f < kFolders; ++f)
                out << programme(f, k);
    } else {
        for (int f = 0; f < kFolders; ++f) {
            out << folder(f);
            for (int k = 0; k < kProgrammes; ++k)
                out << programme(f, k);
        }
    }
    out << "</list>\n";
}

// Median wall time of the xmllint program over a few runs.
double xmllintMs(const QString& path) {
    std::vector<double> runs;
    for (int n = 0; n < 7; ++n) {
        const auto start = std::chrono::steady_clock::now();
        QProcess::execute(QStringLiteral("xmllint"), {QStringLiteral("--noout"), path});
        runs.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

void BM_Load(benchmark::State& state) {
    const bool scattered = state.range(0) != 0;
    const QString& path = scattered ? g_files->scattered : g_files->ordered;
    CatalogueTree tree;
    double totalMs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        (void)loadCatalogueFile(path, tree);
        totalMs +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
    }
    if (tree.count() != kFolders * (kProgrammes + 1))
        state.SkipWithError("wrong node count");
    const double xmllint = scattered ? g_files->xmllintScatteredMs : g_files->xmllintOrderedMs;
    state.counters["xmllint_ms"] = xmllint;
    state.counters["ratio"] = totalMs / static_cast<double>(state.iterations()) / xmllint;
}
BENCHMARK(BM_Load)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// What xmllint --noout does, without its process start: parse into a tree and free it.
void BM_ParseOnly(benchmark::State& state) {
    const QByteArray path = g_files->ordered.toLocal8Bit();
    for (auto _ : state)
        xmlFreeDoc(xmlReadFile(path.constData(), nullptr, XML_PARSE_NONET));
}
BENCHMARK(BM_ParseOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Search(benchmark::State& state) {
    CatalogueTree tree;
    (void)loadCatalogueFile(g_files->ordered, tree);
    // "第7集" matches one programme in each folder: 1,000 hits out of 100,000 nodes.
    const QString keyword = QStringLiteral("第7集");
    int hits = 0;
    for (auto _ : state)
        hits = runSearch(tree, keyword).hits;
    state.counters["hits"] = hits;
}
BENCHMARK(BM_Search)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FolderClick(benchmark::State& state) {
    CatalogueTree tree;
    (void)loadCatalogueFile(g_files->ordered, tree);
    int folder = 0;
    for (auto _ : state) {
        // Alternate between the first and the last folder: each click opens one and closes the
        // other.
        folder = folder == 0 ? tree.topLevelAt(tree.topLevelCount() - 1) : 0;
        applyFolderClick(tree, folder);
        benchmark::DoNotOptimize(countVisibleRows(tree).rows);
    }
}
BENCHMARK(BM_FolderClick)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace lumora

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    lumora::Files files;
    files.ordered = files.dir.filePath(QStringLiteral("ordered.xml"));
    files.scattered = files.dir.filePath(QStringLiteral("scattered.xml"));
    lumora::writeCatalogue(files.ordered, false);
    lumora::writeCatalogue(files.scattered, true);
    files.xmllintOrderedMs = lumora::xmllintMs(files.ordered);
    files.xmllintScatteredMs = lumora::xmllintMs(files.scattered);
    lumora::g_files = &files;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
