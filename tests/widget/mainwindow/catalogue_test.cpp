#include "harness.h"

#include "gbk.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeView>

#include <gtest/gtest.h>

#include <functional>

using namespace lumora;
using namespace lumora::test;

namespace {

QTreeView* tv1(TfrmMain& w) {
    return catalogueWidget<QTreeView>(w, "tv1");
}

bool shownOpen(TfrmMain& w, int index) {
    return part<CataloguePanel>(w).isShownExpanded(index);
}

// The tree's rows in pre-order, each checked to name its own absolute index.
QStringList captions(TfrmMain& w) {
    const QAbstractItemModel& model = *tv1(w)->model();
    QStringList all;
    std::function<void(const QModelIndex&)> walk = [&](const QModelIndex& parent) {
        for (int row = 0; row < model.rowCount(parent); ++row) {
            const QModelIndex at = model.index(row, 0, parent);
            EXPECT_EQ(at.data(kTreeIndexRole).toInt(), all.size());
            all << at.data().toString();
            walk(at);
        }
    };
    walk({});
    return all;
}

// Checks every change of the tree's model against the rules of item models, and counts the
// resets, which lose what the view showed.
struct CheckedModel {
    explicit CheckedModel(TfrmMain& w)
        : tester(tv1(w)->model(), QAbstractItemModelTester::FailureReportingMode::Fatal) {
        QObject::connect(tv1(w)->model(), &QAbstractItemModel::modelReset, [this] { ++resets; });
    }
    QAbstractItemModelTester tester;
    int resets = 0;
};

void search(TfrmMain& w, const char* text) {
    part<CataloguePanel>(w).setSearchText(QString::fromUtf8(text));
    w.imgSearchClick();
}

} // namespace

TEST(CatalogueTree, ShowsTheCatalogueWithFirstFolderOpen) {
    Harness h;
    TfrmMain& w = h.create();
    EXPECT_EQ(captions(w),
              (QStringList{"声母", "b 的发音", "p 的发音", "韵母", "a 的儿歌", "复韵母", "ai"}));
    EXPECT_TRUE(shownOpen(w, 0));
    EXPECT_FALSE(shownOpen(w, 3));
    EXPECT_EQ(w.catalogue().imageIndex(0), 1); // an open folder
    EXPECT_EQ(w.catalogue().imageIndex(3), 0);
    EXPECT_EQ(w.catalogue().imageIndex(1), 3); // Flash movie
    EXPECT_EQ(w.catalogue().imageIndex(2), 6); // video
    EXPECT_EQ(tv1(w)->indentation(), 15);
    EXPECT_EQ(tv1(w)->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_FALSE(tv1(w)->rootIsDecorated());
}

TEST(CatalogueTree, FoldersOpenedOrClosedInTheViewAreSoInTheTree) {
    Harness h;
    TfrmMain& w = h.create();
    const QAbstractItemModel& model = *tv1(w)->model();
    tv1(w)->expand(model.index(1, 0)); // 韵母, as by the keyboard
    EXPECT_TRUE(w.catalogue().isExpanded(3));
    EXPECT_EQ(w.catalogue().imageIndex(3), 1);
    tv1(w)->collapse(model.index(0, 0));
    EXPECT_FALSE(w.catalogue().isExpanded(0));
    EXPECT_EQ(w.catalogue().imageIndex(0), 0);
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
    EXPECT_TRUE(shownOpen(w, 3));
    EXPECT_FALSE(shownOpen(w, 0));
    click(w, 5); // 复韵母 inside 韵母: its ancestor stays open
    EXPECT_TRUE(shownOpen(w, 5));
    EXPECT_TRUE(shownOpen(w, 3));
    click(w, 0); // back to 声母: the whole 韵母 branch closes
    EXPECT_TRUE(shownOpen(w, 0));
    EXPECT_FALSE(shownOpen(w, 3));
    EXPECT_FALSE(shownOpen(w, 5));
    click(w, 0); // an open folder collapses
    EXPECT_FALSE(shownOpen(w, 0));
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
    EXPECT_EQ(part<CataloguePanel>(w).searchText(), "");
    w.edtkeyExit();
    EXPECT_EQ(part<CataloguePanel>(w).searchText(), "搜索关键词");
    part<CataloguePanel>(w).setSearchText("  ");
    w.edtkeyExit();
    EXPECT_EQ(part<CataloguePanel>(w).searchText(), "搜索关键词");
    part<CataloguePanel>(w).setSearchText("ai");
    w.edtkeyEnter(); // only the placeholder is cleared
    EXPECT_EQ(part<CataloguePanel>(w).searchText(), "ai");
}

TEST(CatalogueSearch, EmptyKeywordOrPlaceholderAsksForOne) {
    Harness h;
    TfrmMain& w = h.create();
    for (const char* text : {"搜索关键词", " \t "})
        search(w, text);
    ASSERT_EQ(h.dialogs.shown.size(), 2u);
    EXPECT_EQ(h.dialogs.shown[1].text, "请输入搜索关键词");
    EXPECT_EQ(h.dialogs.shown[1].kind, "info");
}

TEST(CatalogueSearch, EnterSearchesAndHitsShareTheCatalogueRecords) {
    Harness h;
    TfrmMain& w = h.create();
    const CheckedModel checked(w);
    part<CataloguePanel>(w).setSearchText(" 的 ");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(catalogueWidget<QLineEdit>(w, "edtkey"), &enter);
    const QStringList all = captions(w);
    ASSERT_EQ(all.size(), 11);
    EXPECT_EQ(all.mid(7), (QStringList{"搜索结果", "b 的发音", "p 的发音", "a 的儿歌"}));
    EXPECT_EQ(w.selectedNode(), 7);
    EXPECT_TRUE(shownOpen(w, 7));
    EXPECT_FALSE(shownOpen(w, 0)); // the accordion closed the rest
    EXPECT_EQ(w.catalogue().record(8), w.catalogue().record(1));
    click(w, 10);
    EXPECT_EQ(h.iniValue("23"), "10");
    EXPECT_EQ(h.played.back(), w.catalogue().record(4));
}

TEST(CatalogueSearch, SearchingAgainReplacesTheResultFolder) {
    Harness h;
    TfrmMain& w = h.create();
    const CheckedModel checked(w);
    search(w, "ai");
    search(w, "的");
    EXPECT_EQ(captions(w).count("搜索结果"), 1);
    EXPECT_EQ(w.catalogue().count(), 11);
    search(w, "AI"); // letter case counts
    EXPECT_EQ(h.dialogs.shown.back().text, "没有找到相关的信息");
    EXPECT_EQ(captions(w).count("搜索结果"), 0); // the old folder is gone already
    EXPECT_EQ(checked.resets, 0);                // only the tail changed
}

TEST(CatalogueSearch, EmptyingTheBoxRemovesTheResults) {
    Harness h;
    TfrmMain& w = h.create();
    const CheckedModel checked(w);
    search(w, "ai");
    ASSERT_EQ(w.catalogue().count(), 9);
    part<CataloguePanel>(w).setSearchText("");
    EXPECT_EQ(w.catalogue().count(), 7);
    EXPECT_EQ(tv1(w)->model()->rowCount(), 2);
}

TEST(CatalogueSearch, CatalogueFolderNamedLikeTheResultsIsRemovedToo) {
    Harness h;
    h.writeCatalogue(
        23, "<r><e type='0' id='1' pid='' name='搜索结果'/><e type='1' id='2' pid='1' name='ai'/>"
            "<e type='1' id='3' pid='' name='bai'/></r>");
    TfrmMain& w = h.create();
    const CheckedModel checked(w);
    search(w, "ai");
    EXPECT_EQ(captions(w), (QStringList{"bai", "搜索结果", "bai"}));
    EXPECT_EQ(checked.resets, 1); // the removed folder was not the last
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
    part<CataloguePanel>(w).setSearchText("ai");
    EXPECT_NO_THROW(w.imgSearchClick());
    ASSERT_EQ(h.dialogs.shown.size(), 1u);
    EXPECT_EQ(h.dialogs.shown[0].kind, "error");
    EXPECT_EQ(h.dialogs.shown[0].text, "'x' is not a valid integer value");
    EXPECT_EQ(captions(w).mid(3), (QStringList{"搜索结果", "ai 1", "ai 2"}));
    EXPECT_FALSE(shownOpen(w, 3));
}
