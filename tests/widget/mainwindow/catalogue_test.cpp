#include "harness.h"

#include "gbk.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace lumora;
using namespace lumora::test;

namespace {

QTreeWidgetItem* itemAt(TfrmMain& w, int index) {
    QTreeWidgetItemIterator it(w.tv1);
    for (int i = 0; *it; ++it, ++i)
        if (i == index)
            return *it;
    return nullptr;
}

void click(TfrmMain& w, int index) {
    ASSERT_TRUE(w.selectNode(index));
    w.tv1Click();
}

QStringList captions(TfrmMain& w) {
    QStringList all;
    for (QTreeWidgetItemIterator it(w.tv1); *it; ++it)
        all << (*it)->text(0);
    return all;
}

} // namespace

TEST(CatalogueTree, ShowsTheCatalogueWithFirstFolderOpen) {
    Harness h;
    TfrmMain& w = h.create();
    EXPECT_EQ(captions(w),
              (QStringList{"声母", "b 的发音", "p 的发音", "韵母", "a 的儿歌", "复韵母", "ai"}));
    EXPECT_TRUE(itemAt(w, 0)->isExpanded());
    EXPECT_FALSE(itemAt(w, 3)->isExpanded());
    EXPECT_EQ(w.catalogue().imageIndex(0), 1); // an open folder
    EXPECT_EQ(w.catalogue().imageIndex(3), 0);
    EXPECT_EQ(w.catalogue().imageIndex(1), 3); // Flash movie
    EXPECT_EQ(w.catalogue().imageIndex(2), 6); // video
    EXPECT_EQ(w.tv1->indentation(), 15);
    EXPECT_EQ(w.tv1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_FALSE(w.tv1->rootIsDecorated());
}

TEST(CatalogueTree, GbkCatalogueLoadsWithItsOwnEncoding) {
    Harness h;
    const std::string name = toGbk(QStringLiteral("小星星"));
    h.writeCatalogue(23, QByteArray("<?xml version=\"1.0\" encoding=\"gb2312\"?>\n<r><e type=\"2\" "
                                    "id=\"5\" pid=\"\" name=\"") +
                             QByteArray::fromStdString(name) + "\"/></r>");
    TfrmMain& w = h.create();
    EXPECT_EQ(captions(w), QStringList{"小星星"});
}

TEST(CatalogueTree, ClickingAProgrammeRemembersItBeforePlaying) {
    Harness h;
    TfrmMain& w = h.create();
    h.played.clear();
    QString writtenWhenPlayed;
    h.onPlay = [&] { writtenWhenPlayed = h.iniValue("23"); };
    click(w, 4);
    EXPECT_EQ(writtenWhenPlayed, "4");
    EXPECT_EQ(h.config.currentNodeIndex, 4);
    ASSERT_EQ(h.played.size(), 1u);
    EXPECT_EQ(h.played[0]->name, "a 的儿歌");
}

TEST(CatalogueTree, FolderClicksWorkAsAnAccordion) {
    Harness h;
    TfrmMain& w = h.create();
    click(w, 3); // 韵母 opens, 声母 closes
    EXPECT_TRUE(itemAt(w, 3)->isExpanded());
    EXPECT_FALSE(itemAt(w, 0)->isExpanded());
    click(w, 5); // 复韵母 inside 韵母: its ancestor stays open
    EXPECT_TRUE(itemAt(w, 5)->isExpanded());
    EXPECT_TRUE(itemAt(w, 3)->isExpanded());
    click(w, 0); // back to 声母: the whole 韵母 branch closes
    EXPECT_TRUE(itemAt(w, 0)->isExpanded());
    EXPECT_FALSE(itemAt(w, 3)->isExpanded());
    EXPECT_FALSE(itemAt(w, 5)->isExpanded());
    click(w, 0); // an open folder collapses
    EXPECT_FALSE(itemAt(w, 0)->isExpanded());
    EXPECT_EQ(w.catalogue().imageIndex(0), 0);
    EXPECT_TRUE(h.played.empty());
    EXPECT_EQ(h.iniValue("23"), "0"); // folders write nothing
}

TEST(CatalogueTree, EmptyFolderDoesNothing) {
    Harness h;
    h.writeCatalogue(
        23, "<r><e type='0' id='1' pid='' name='空'/><e type='1' id='2' pid='' name='x'/></r>");
    TfrmMain& w = h.create();
    click(w, 0);
    EXPECT_TRUE(h.played.empty());
    EXPECT_EQ(h.iniValue("23"), "0");
}

TEST(CatalogueSearch, PlaceholderComesAndGoesWithTheFocus) {
    Harness h;
    TfrmMain& w = h.create();
    w.edtkeyEnter();
    EXPECT_EQ(w.edtkey->text(), "");
    w.edtkeyExit();
    EXPECT_EQ(w.edtkey->text(), "搜索关键词");
    w.edtkey->setText("  ");
    w.edtkeyExit();
    EXPECT_EQ(w.edtkey->text(), "搜索关键词");
    w.edtkey->setText("ai");
    w.edtkeyEnter(); // only the placeholder is cleared
    EXPECT_EQ(w.edtkey->text(), "ai");
}

TEST(CatalogueSearch, EmptyKeywordOrPlaceholderAsksForOne) {
    Harness h;
    TfrmMain& w = h.create();
    for (const char* text : {"搜索关键词", " \t "}) {
        w.edtkey->setText(QString::fromUtf8(text));
        w.imgSearchClick();
    }
    ASSERT_EQ(h.dialogs.shown.size(), 2u);
    EXPECT_EQ(h.dialogs.shown[1].text, "请输入搜索关键词");
    EXPECT_EQ(h.dialogs.shown[1].kind, "info");
}

TEST(CatalogueSearch, EnterSearchesAndHitsShareTheCatalogueRecords) {
    Harness h;
    TfrmMain& w = h.create();
    w.edtkey->setText(" 的 ");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(w.edtkey, &enter);
    const QStringList all = captions(w);
    ASSERT_EQ(all.size(), 11);
    EXPECT_EQ(all.mid(7), (QStringList{"搜索结果", "b 的发音", "p 的发音", "a 的儿歌"}));
    EXPECT_EQ(w.selectedNode(), 7);
    EXPECT_TRUE(itemAt(w, 7)->isExpanded());
    EXPECT_FALSE(itemAt(w, 0)->isExpanded()); // the accordion closed the rest
    EXPECT_EQ(w.catalogue().record(8), w.catalogue().record(1));
    click(w, 10);
    EXPECT_EQ(h.iniValue("23"), "10");
    EXPECT_EQ(h.played.back(), w.catalogue().record(4));
}

TEST(CatalogueSearch, SearchingAgainReplacesTheResultFolder) {
    Harness h;
    TfrmMain& w = h.create();
    w.edtkey->setText("ai");
    w.imgSearchClick();
    w.edtkey->setText("的");
    w.imgSearchClick();
    EXPECT_EQ(captions(w).count("搜索结果"), 1);
    EXPECT_EQ(w.catalogue().count(), 11);
    w.edtkey->setText("AI"); // letter case counts
    w.imgSearchClick();
    EXPECT_EQ(h.dialogs.shown.back().text, "没有找到相关的信息");
    EXPECT_EQ(captions(w).count("搜索结果"), 0); // the old folder is gone already
}

TEST(CatalogueSearch, EmptyingTheBoxRemovesTheResults) {
    Harness h;
    TfrmMain& w = h.create();
    w.edtkey->setText("ai");
    w.imgSearchClick();
    ASSERT_EQ(w.catalogue().count(), 9);
    w.edtkey->setText("");
    EXPECT_EQ(w.catalogue().count(), 7);
    EXPECT_EQ(w.tv1->topLevelItemCount(), 2);
}

TEST(CatalogueSearch, CatalogueFolderNamedLikeTheResultsIsRemovedToo) {
    Harness h;
    h.writeCatalogue(
        23, "<r><e type='0' id='1' pid='' name='搜索结果'/><e type='1' id='2' pid='1' name='ai'/>"
            "<e type='1' id='3' pid='' name='bai'/></r>");
    TfrmMain& w = h.create();
    w.edtkey->setText("ai");
    w.imgSearchClick();
    EXPECT_EQ(captions(w), (QStringList{"bai", "搜索结果", "bai"}));
    EXPECT_EQ(w.selectedNode(), 1);
    click(w, 2);
    EXPECT_EQ(h.played.back()->id, "3");
}

TEST(CatalogueSearch, HitWithABadTypeStopsInTheErrorBox) {
    Harness h;
    h.writeCatalogue(
        23, "<r><e type='1' id='1' pid='' name='ai 1'/><e type='x' id='2' pid='' name='ai 2'/>"
            "<e type='1' id='3' pid='' name='ai 3'/></r>");
    TfrmMain& w = h.create();
    w.edtkey->setText("ai");
    EXPECT_THROW(w.imgSearchClick(), std::runtime_error);
    EXPECT_EQ(captions(w).mid(3), (QStringList{"搜索结果", "ai 1", "ai 2"}));
    EXPECT_FALSE(itemAt(w, 3)->isExpanded());
}
