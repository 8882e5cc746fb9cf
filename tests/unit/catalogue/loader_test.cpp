#include "catalogueloader.h"
#include "gbk.h"
#include "support/tempdir.h"
#include "treefixture.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace lumora {
namespace {

using test::outline;

QByteArray utf8(const QString& text) {
    return text.toUtf8();
}

class LoaderTest : public ::testing::Test {
protected:
    QString write(const QByteArray& bytes) {
        m_dir.write("Resource/xml/21.xml", bytes);
        return catalogueFilePath(m_dir.path(), 21);
    }
    test::TempDir m_dir;
    CatalogueTree m_tree;
};

TEST_F(LoaderTest, Utf8CatalogueBuildsTheTreeWithImagesAndOpensTheFirstNode) {
    const QString path = write(utf8(QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<list>\n"
        "<item type=\"0\" id=\"1\" pid=\"\" name=\"儿歌\"/>\n"
        "<!-- comments and text between entries are not entries -->\n"
        "<item type=\"1\" id=\"11\" pid=\"1\" name=\"小星星\"><deep type=\"1\" id=\"12\" "
        "pid=\"1\" name=\"nested elements are not read\"/></item>\n"
        "<item type=\"3\" id=\"13\" pid=\"1\" name=\"歌词 a&amp;b\"/>\n"
        "<item type=\"0\" id=\"2\" pid=\"\" name=\"故事\"/>\n"
        "<item type=\"10\" id=\"21\" pid=\"2\" name=\"压缩包\"/>\n"
        "<item type=\"4\" id=\"22\" pid=\"2\" name=\"视频\"/>\n"
        "</list>\n")));
    const Outcome<LoadOutcome> loaded = loadCatalogueFile(path, m_tree);
    ASSERT_TRUE(loaded);
    const LoadOutcome& outcome = *loaded;

    EXPECT_EQ(outline(m_tree),
              QStringLiteral("儿歌\n  小星星\n  歌词 a&b\n故事\n  压缩包\n  视频\n"));
    EXPECT_EQ(outcome.selectedIndex, 0);
    EXPECT_TRUE(outcome.resetCurrentNode);
    EXPECT_EQ(test::expandedNodes(m_tree), std::vector<int>{0});
    // Open folder, Flash movie, text, closed folder, archive (outside the list), video.
    const int images[] = {1, 3, 5, 0, 12, 6};
    for (int i = 0; i < m_tree.count(); ++i) {
        EXPECT_EQ(m_tree.imageIndex(i), images[i]) << i;
        EXPECT_EQ(m_tree.selectedImageIndex(i), images[i]) << i;
    }
    const LumoraPlayPtr song = m_tree.record(1);
    EXPECT_EQ(song->id, "11");
    EXPECT_EQ(song->pid, "1");
    EXPECT_EQ(song->type, "1");
    EXPECT_EQ(song->engineNo, kNoEngineNumber);
    EXPECT_TRUE(song->downUrl.isEmpty());
}

TEST_F(LoaderTest, Gb2312DeclarationReadsGbkBytesIncludingCharactersOutsideGb2312) {
    // 镕 is in GBK but not in GB2312; such files are common and must load.
    const QString name = QStringLiteral("朱镕基讲故事");
    std::string bytes = "<?xml version=\"1.0\" encoding=\"gb2312\"?><r>";
    bytes += "<i type=\"0\" id=\"1\" pid=\"\" name=\"" + toGbk(QStringLiteral("拼音")) + "\"/>";
    bytes += "<i type=\"2\" id=\"2\" pid=\"1\" name=\"" + toGbk(name) + "\"/></r>";
    ASSERT_TRUE(loadCatalogueFile(write(QByteArray::fromStdString(bytes)), m_tree));
    ASSERT_EQ(m_tree.count(), 2);
    EXPECT_EQ(m_tree.caption(0), QStringLiteral("拼音"));
    EXPECT_EQ(m_tree.record(1)->name, name);
    EXPECT_EQ(m_tree.imageIndex(1), 4);
}

TEST_F(LoaderTest, MissingFileAndEmptyDocumentElementGiveAnEmptyTree) {
    m_tree.appendTopLevel(test::makeRecord({"1", "1", "", "old"}));
    Outcome<LoadOutcome> outcome = loadCatalogueFile(m_dir.file("Resource/xml/22.xml"), m_tree);
    EXPECT_EQ(m_tree.count(), 0);
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->selectedIndex, -1);

    outcome = loadCatalogueFile(write("<?xml version=\"1.0\"?><list>\n  </list>"), m_tree);
    EXPECT_EQ(m_tree.count(), 0);
    ASSERT_TRUE(outcome);
    EXPECT_FALSE(outcome->resetCurrentNode); // currentNodeIndex stays as it was
}

TEST_F(LoaderTest, NotWellFormedFailsWithTheParserMessageAndTheTreeEmpty) {
    m_tree.appendTopLevel(test::makeRecord({"1", "1", "", "old"}));
    const QString path = write("<list><item type=\"1\" id=\"1\" pid=\"\" name=\"a\"/>\n<item");
    const Outcome<LoadOutcome> broken = loadCatalogueFile(path, m_tree);
    ASSERT_FALSE(broken);
    EXPECT_TRUE(broken.failure().message.contains("line 2"))
        << broken.failure().message.toStdString();
    EXPECT_EQ(m_tree.count(), 0);
    EXPECT_FALSE(loadCatalogueFile(write(""), m_tree));
}

TEST_F(LoaderTest, OrphansAreDroppedAndBadTypesKeepTheirNode) {
    const QString path = write(
        utf8(QStringLiteral("<r><e type=\"1\" id=\"5\" pid=\"1\" name=\"child before parent\"/>"
                            "<e type=\"0\" id=\"1\" pid=\"\" name=\"F\"/>"
                            "<e type=\"x\" id=\"2\" pid=\"1\" name=\"bad type\"/>"
                            "<e id=\"3\" pid=\"1\" name=\"no type\"/>"
                            "<e type=\"1\" id=\"4\" name=\"no pid\"/>"
                            "<e type=\"2\" id=\"6\" pid=\"404\" name=\"unknown parent\"/>"
                            "<e type=\"2\" id=\"7\" pid=\"1\" name=\"after\"/></r>")));
    ASSERT_TRUE(loadCatalogueFile(path, m_tree));
    EXPECT_EQ(outline(m_tree), "F\n  bad type\n  no type\n  after\nno pid\n");
    EXPECT_EQ(m_tree.imageIndex(1), 0);
    EXPECT_EQ(m_tree.selectedImageIndex(1), 0);
    EXPECT_EQ(m_tree.imageIndex(2), 0);
    EXPECT_EQ(m_tree.imageIndex(3), 4);
}

TEST_F(LoaderTest, DuplicateIdsAttachToTheHigherAbsoluteIndex) {
    const QString path = write("<r><e type=\"0\" id=\"1\" pid=\"\" name=\"A\"/>"
                               "<e type=\"0\" id=\"9\" pid=\"\" name=\"B\"/>"
                               "<e type=\"0\" id=\"5\" pid=\"9\" name=\"B5\"/>"
                               "<e type=\"0\" id=\"5\" pid=\"1\" name=\"A5\"/>"
                               "<e type=\"1\" id=\"7\" pid=\"5\" name=\"leaf\"/></r>");
    ASSERT_TRUE(loadCatalogueFile(path, m_tree));
    EXPECT_EQ(outline(m_tree), "A\n  A5\nB\n  B5\n    leaf\n");
}

TEST_F(LoaderTest, EntityBombIsNeitherExpandedNorSlow) {
    QByteArray bomb = "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY a \"aaaaaaaaaaaaaaaaaaaa\">";
    for (char e = 'b'; e <= 'j'; ++e) {
        bomb += QByteArray("<!ENTITY ") + e + " \"";
        for (int k = 0; k < 10; ++k)
            bomb += QByteArray("&") + char(e - 1) + ";";
        bomb += "\">";
    }
    bomb += "]><r><e type=\"1\" id=\"1\" pid=\"\" name=\"x&c;\">&j;</e>"
            "<e type=\"1\" id=\"2\" pid=\"\" name=\"&j;\"/></r>";
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(loadCatalogueFile(write(bomb), m_tree));
    EXPECT_LT(timer.elapsed(), 2000);

    // A small nest of entities loads, with the reference left as written.
    bomb.replace("name=\"&j;\"", "name=\"y\"").replace(">&j;<", "><");
    ASSERT_TRUE(loadCatalogueFile(write(bomb), m_tree));
    ASSERT_EQ(m_tree.count(), 2);
    EXPECT_EQ(m_tree.caption(0), "x&c;");
}

TEST_F(LoaderTest, ElementsFromEntitiesAndDtdDefaultsAreNotEntries) {
    const QString path = write("<!DOCTYPE r [<!ENTITY e \"<e type='1' id='8' pid='' name='e'/>\">"
                               "<!ATTLIST e pid CDATA '1'>]>"
                               "<r>&e;<e type=\"1\" id=\"9\" name=\"doc\"/>&e;</r>");
    ASSERT_TRUE(loadCatalogueFile(path, m_tree));
    EXPECT_EQ(outline(m_tree), "doc\n");
}

TEST_F(LoaderTest, MegabyteNamesLoad) {
    const QByteArray name(1 << 20, 'n');
    ASSERT_TRUE(loadCatalogueFile(
        write("<r><e type=\"1\" id=\"1\" pid=\"\" name=\"" + name + "\"/></r>"), m_tree));
    ASSERT_EQ(m_tree.count(), 1);
    EXPECT_EQ(m_tree.caption(0).size(), name.size());
}

} // namespace
} // namespace lumora
