// The catalogue tree tv1: a view of the programme tree kept in m_tree.
#include "catalogueloader.h"
#include "config.h"
#include "inistore.h"
#include "mainwindow.h"
#include "skin.h"
#include "treerules.h"

#include <QHeaderView>

#include <QTreeWidget>
#include <array>

namespace lumora {
namespace {

constexpr int kImageRole = Qt::UserRole + 2;

// ImageList1: eight 16 x 16 pictures; images beyond the list show nothing.
const QIcon& treeImage(int index) {
    static const std::array<QIcon, 8> images = [] {
        std::array<QIcon, 8> all;
        for (int i = 0; i < 8; ++i)
            all[std::size_t(i)] = QIcon(skinPicture(QStringLiteral("imagelist1_%1").arg(i)));
        return all;
    }();
    static const QIcon none;
    return index >= 0 && index < 8 ? images[std::size_t(index)] : none;
}

void showImage(QTreeWidgetItem* item, int image) {
    if (item->data(0, kImageRole).toInt() == image && item->data(0, kImageRole).isValid())
        return;
    item->setData(0, kImageRole, image);
    item->setIcon(0, treeImage(image));
}

} // namespace

void TfrmMain::setupTreeAppearance() {
    tv1->setHeaderHidden(true);
    tv1->setFrameShape(QFrame::NoFrame);
    tv1->setRootIsDecorated(false);
    tv1->setItemsExpandable(true);
    tv1->setExpandsOnDoubleClick(false);
    tv1->setIndentation(15);
    tv1->setUniformRowHeights(true);
    tv1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tv1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tv1->setSelectionBehavior(QAbstractItemView::SelectRows);
    tv1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tv1->setStyleSheet(QStringLiteral(
        "QTreeWidget { background: rgb(237,238,238); color: rgb(68,68,68); font-size: 13px; }"
        "QTreeWidget::item { height: 24px; }"
        "QTreeWidget::item:selected { background: rgb(136,179,221); color: rgb(68,68,68); }"
        "QTreeWidget::branch { image: none; border-image: none; }"));
    connect(tv1, &QTreeWidget::itemClicked, this, [this] { tv1Click(); });
    connect(tv1, &QTreeWidget::itemExpanded, this, &TfrmMain::tv1Expanded);
    connect(tv1, &QTreeWidget::itemCollapsed, this, &TfrmMain::tv1Collapsed);
}

void TfrmMain::reloadCatalogue() {
    tv1->clear();
    m_items.clear();
    m_tree.clear();
    const LoadOutcome outcome =
        loadCatalogueFile(catalogueFilePath(m_config.appDir, m_config.currentChannel), m_tree);
    rebuildTreeItems();
    if (outcome.resetCurrentNode)
        m_config.currentNodeIndex = 0;
    if (outcome.selectedIndex >= 0)
        selectNode(outcome.selectedIndex);
}

void TfrmMain::rebuildTreeItems() {
    tv1->clear();
    m_items.clear();
    appendTreeItems(0);
}

void TfrmMain::appendTreeItems(int first) {
    m_items.resize(std::size_t(m_tree.count()), nullptr);
    QList<QTreeWidgetItem*> topLevel;
    for (int i = first; i < m_tree.count(); ++i) {
        const int parent = m_tree.parent(i);
        auto* item =
            parent < 0 ? new QTreeWidgetItem() : new QTreeWidgetItem(m_items[std::size_t(parent)]);
        item->setText(0, m_tree.caption(i));
        item->setData(0, kTreeIndexRole, i);
        showImage(item, m_tree.imageIndex(i));
        m_items[std::size_t(i)] = item;
        if (parent < 0)
            topLevel << item;
    }
    tv1->addTopLevelItems(topLevel);
    syncExpansion();
}

void TfrmMain::syncExpansion() {
    const QSignalBlocker block(tv1);
    for (int i = 0; i < m_tree.count(); ++i) {
        QTreeWidgetItem* item = m_items[std::size_t(i)];
        if (item->isExpanded() != m_tree.isExpanded(i))
            item->setExpanded(m_tree.isExpanded(i));
        showImage(item, m_tree.imageIndex(i));
    }
}

bool TfrmMain::selectNode(int index) {
    if (index < 0 || index >= m_tree.count())
        return false;
    tv1->setCurrentItem(m_items[std::size_t(index)]);
    return true;
}

int TfrmMain::selectedNode() const {
    const QTreeWidgetItem* item = tv1->currentItem();
    return item ? item->data(0, kTreeIndexRole).toInt() : -1;
}

void TfrmMain::tv1Click() {
    const int index = selectedNode();
    switch (clickKind(m_tree, index)) {
    case ClickKind::None:
        return;
    case ClickKind::Folder:
        applyFolderClick(m_tree, index);
        syncExpansion();
        return;
    case ClickKind::Play:
        m_config.currentNodeIndex = index;
        writeIniValue(m_config.localIniPath, ini::Section, QString::number(m_config.currentChannel),
                      QString::number(index));
        playProgramme(m_tree.record(index));
        return;
    }
}

void TfrmMain::tv1Expanded(QTreeWidgetItem* item) {
    const int index = item->data(0, kTreeIndexRole).toInt();
    m_tree.setExpanded(index, true);
    showImage(item, m_tree.imageIndex(index));
}

void TfrmMain::tv1Collapsed(QTreeWidgetItem* item) {
    const int index = item->data(0, kTreeIndexRole).toInt();
    m_tree.setExpanded(index, false);
    showImage(item, m_tree.imageIndex(index));
}

int TfrmMain::getFirstPlay() const {
    return lumora::getFirstPlay(m_tree);
}

int TfrmMain::getChildCount(int index) const {
    return lumora::getChildCount(m_tree, index);
}

} // namespace lumora
