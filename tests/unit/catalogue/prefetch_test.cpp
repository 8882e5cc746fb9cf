#include "catalogueprefetch.h"
#include "support/tempdir.h"
#include "treefixture.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

using test::outline;

struct PrefetchCase {
    const char* name;
    const char* xml; // nullptr: no file
};

class PrefetchTest : public ::testing::TestWithParam<PrefetchCase> {
protected:
    QString write(int channel, const char* xml) {
        if (xml)
            m_dir.write(QStringLiteral("Resource/xml/%1.xml").arg(channel), xml);
        return catalogueFilePath(m_dir.path(), channel);
    }
    test::TempDir m_dir;
};

// Taken from the worker, the read is the one the window would have made itself.
TEST_P(PrefetchTest, TakenReadEqualsADirectLoad) {
    const QString path = write(21, GetParam().xml);
    CatalogueTree direct;
    const Outcome<LoadOutcome> expected = loadCatalogueFile(path, direct);

    CataloguePrefetch prefetch(path);
    CatalogueTree tree;
    tree.appendTopLevel(test::makeRecord({"1", "1", "", "old"}));
    const Outcome<LoadOutcome> taken = loadCatalogue(path, tree, &prefetch);
    ASSERT_EQ(taken.ok(), expected.ok());
    EXPECT_EQ(outline(tree), outline(direct));
    EXPECT_EQ(test::expandedNodes(tree), test::expandedNodes(direct));
    if (taken) {
        EXPECT_EQ(taken->selectedIndex, expected->selectedIndex);
        EXPECT_EQ(taken->resetCurrentNode, expected->resetCurrentNode);
    } else {
        EXPECT_EQ(taken.failure().message, expected.failure().message);
    }
    EXPECT_FALSE(prefetch.take(path)); // taken once only
}

INSTANTIATE_TEST_SUITE_P(
    Files, PrefetchTest,
    ::testing::Values(PrefetchCase{"Catalogue", "<r><e type=\"0\" id=\"1\" pid=\"\" name=\"F\"/>"
                                                "<e type=\"1\" id=\"2\" pid=\"1\" name=\"a\"/>"
                                                "<e type=\"0\" id=\"3\" pid=\"\" name=\"G\"/></r>"},
                      PrefetchCase{"NotWellFormed",
                                   "<r><e type=\"1\" id=\"1\" pid=\"\" name=\"a\"/>\n<e"},
                      PrefetchCase{"Missing", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CataloguePrefetch, AskedForAnotherFileItStopsAndTheFileIsReadDirectly) {
    test::TempDir dir;
    dir.write("Resource/xml/21.xml",
              "<r><e type=\"0\" id=\"1\" pid=\"\" name=\"prefetched\"/></r>");
    dir.write("Resource/xml/22.xml", "<r><e type=\"0\" id=\"1\" pid=\"\" name=\"asked\"/></r>");
    const QString prefetched = catalogueFilePath(dir.path(), 21);
    CataloguePrefetch prefetch(prefetched);
    CatalogueTree tree;
    ASSERT_TRUE(loadCatalogue(catalogueFilePath(dir.path(), 22), tree, &prefetch));
    EXPECT_EQ(outline(tree), "asked\n");
    EXPECT_FALSE(prefetch.take(prefetched)); // the prefetch has ended
}

TEST(CataloguePrefetch, StoppedReadFailsWithTheTreeEmpty) {
    test::TempDir dir;
    dir.write("Resource/xml/21.xml", "<r><e type=\"0\" id=\"1\" pid=\"\" name=\"F\"/></r>");
    std::stop_source stop;
    stop.request_stop();
    CatalogueTree tree;
    EXPECT_FALSE(loadCatalogueFile(catalogueFilePath(dir.path(), 21), tree, stop.get_token()));
    EXPECT_EQ(tree.count(), 0);
}

} // namespace
} // namespace lumora
