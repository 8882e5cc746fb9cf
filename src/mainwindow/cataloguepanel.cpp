#include "cataloguepanel.h"

#include "chromescroll.h"
#include "chromewindow.h"
#include "skin.h"
#include "treerules.h"
#include "webpane.h"
#include "widgetmaking.h"

#include <QBoxLayout>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTreeView>

#include <algorithm>
#include <numeric>
#include <vector>

namespace lumora {
using ui::column;
using ui::make;
using ui::panel;
namespace {

QLabel* picture(QWidget* parent, const char* name, const QString& skinName) {
    auto* label = make<QLabel>(parent, name);
    label->setPixmap(skinPicture(skinName));
    label->setScaledContents(true);
    return label;
}

} // namespace

CataloguePanel::CataloguePanel(const CatalogueTree& tree, WebPaneFactory& panes, QWidget* parent)
    : QFrame(parent), m_tree(tree), m_model(new CatalogueModel(tree, this)) {
    setObjectName(QStringLiteral("pnlFunALl"));
    setFrameShape(QFrame::NoFrame);
    setFixedWidth(211);
    QVBoxLayout* col = column(this);
    col->addWidget(buildSearch());
    col->addWidget(buildTree(), 1);
    col->addWidget(buildAds(panes));
}

CataloguePanel::~CataloguePanel() = default;

QWidget* CataloguePanel::buildSearch() {
    QFrame* strip = panel(this, "pnlSearch");
    strip->setFixedHeight(25);
    QLabel* background = make<QLabel>(strip, "imgSearchBg");
    background->setGeometry(0, 0, 211, 25);
    background->setPixmap(skinPicture(QStringLiteral("search_bg")));
    m_searchBox = make<QLineEdit>(strip, "edtkey");
    m_searchBox->setGeometry(7, 6, 175, 18);
    m_searchBox->setFrame(false);
    m_searchBox->setStyleSheet(QStringLiteral("font-size: 12px;")); // its grey is the skin's
    m_searchButton = make<QLabel>(strip, "imgSearch");
    m_searchButton->setGeometry(184, 3, 21, 20);
    m_searchButton->setCursor(Qt::PointingHandCursor);
    m_searchButton->setPixmap(skinPicture(QStringLiteral("search_button")));
    m_searchButton->installEventFilter(this);
    m_searchBox->installEventFilter(this);
    connect(m_searchBox, &QLineEdit::textChanged, this, &CataloguePanel::searchTextChanged);
    return strip;
}

QWidget* CataloguePanel::buildTree() {
    m_treePanel = panel(this, "pnlFuncTree");
    m_view = make<QTreeView>(m_treePanel, "tv1");
    m_view->setModel(m_model);
    column(m_treePanel)->addWidget(m_view);
    buildScrollBar(m_treePanel);
    m_treePanel->installEventFilter(this);

    m_view->setHeaderHidden(true);
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setRootIsDecorated(false);
    m_view->setItemsExpandable(true);
    m_view->setExpandsOnDoubleClick(false);
    m_view->setIndentation(15);
    m_view->setUniformRowHeights(true);
    m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setStyleSheet(QStringLiteral(
        "QTreeView { background: rgb(237,238,238); color: rgb(68,68,68); font-size: 13px; }"
        "QTreeView::item { height: 24px; }"
        "QTreeView::item:selected { background: rgb(136,179,221); color: rgb(24,24,24); }"
        "QTreeView::branch { image: none; border-image: none; }"));
    m_view->viewport()->installEventFilter(this);
    connect(m_view, &QTreeView::clicked, this, &CataloguePanel::nodeClicked);
    connect(m_view, &QTreeView::expanded, this,
            [this](const QModelIndex& at) { emit nodeExpanded(CatalogueModel::nodeOf(at)); });
    connect(m_view, &QTreeView::collapsed, this,
            [this](const QModelIndex& at) { emit nodeCollapsed(CatalogueModel::nodeOf(at)); });
    return m_treePanel;
}

void CataloguePanel::buildScrollBar(QWidget* treePanel) {
    m_scrollBar = panel(treePanel, "pnlScroll");
    m_scrollBar->resize(13, 0);
    m_trackTop = picture(m_scrollBar, "imgScrollTop", "scroll_track_top");
    m_track = picture(m_scrollBar, "imgScrollMiddle", "scroll_track_middle");
    m_trackBottom = picture(m_scrollBar, "imgScrollBottom", "scroll_track_bottom");
    m_thumbTop = picture(m_scrollBar, "imgScrollTop2", "scroll_thumb_top");
    m_thumb = picture(m_scrollBar, "imgScrollMiddle2", "scroll_thumb_middle");
    m_thumbBottom = picture(m_scrollBar, "imgScrollBottom2", "scroll_thumb_bottom");
    m_thumb->installEventFilter(this);
    m_scrollBar->hide();
}

QWidget* CataloguePanel::buildAds(WebPaneFactory& panes) {
    m_adsPanel = panel(this, "pnlAds");
    m_adsPanel->setFixedHeight(200);
    m_adsPane = panes.createPane(m_adsPanel);
    m_adsPane->widget()->setObjectName(QStringLiteral("wbAds"));
    column(m_adsPanel)->addWidget(m_adsPane->widget());
    m_adsPanel->hide();
    return m_adsPanel;
}

void CataloguePanel::showAds(bool shown) {
    m_adsPanel->setVisible(shown);
}

bool CataloguePanel::adsShown() const {
    return !m_adsPanel->isHidden();
}

void CataloguePanel::syncExpansion() {
    std::vector<int> all(std::size_t(m_tree.count()));
    std::iota(all.begin(), all.end(), 0);
    syncExpansion(all);
}

void CataloguePanel::syncExpansion(std::span<const int> nodes) {
    const QSignalBlocker block(m_view);
    for (int i : nodes) {
        const QModelIndex at = m_model->indexOfNode(i);
        if (!at.isValid() || m_view->isExpanded(at) == m_tree.isExpanded(i))
            continue;
        m_view->setExpanded(at, m_tree.isExpanded(i));
        m_model->nodeChanged(i);
    }
}

void CataloguePanel::nodeChanged(int node) {
    m_model->nodeChanged(node);
}

bool CataloguePanel::select(int node) {
    const QModelIndex at = m_model->indexOfNode(node);
    if (!at.isValid())
        return false;
    m_view->setCurrentIndex(at);
    return true;
}

int CataloguePanel::selected() const {
    return CatalogueModel::nodeOf(m_view->currentIndex());
}

bool CataloguePanel::isShownExpanded(int node) const {
    return m_view->isExpanded(m_model->indexOfNode(node));
}

void CataloguePanel::scrollTo(int node, QAbstractItemView::ScrollHint hint) {
    m_view->scrollTo(m_model->indexOfNode(node), hint);
}

QString CataloguePanel::searchText() const {
    return m_searchBox->text();
}

void CataloguePanel::setSearchText(const QString& text) {
    m_searchBox->setText(text);
}

void CataloguePanel::setSearchKeyHandler(std::function<bool(int)> handler) {
    m_searchKey = std::move(handler);
}

void CataloguePanel::layoutScrollBar() {
    m_scrollBar->setGeometry(scrollPanelGeometry(m_treePanel->size(), m_scrollBar->width()));
    const int h = m_scrollBar->height();
    m_trackTop->setGeometry(0, 0, 13, 9);
    m_trackBottom->setGeometry(0, h - 9, 13, 9);
    m_track->setGeometry(0, 9, 13, std::max(0, h - 18));
    m_scrollBar->raise();
}

void CataloguePanel::updateScrollBar() {
    if (m_tree.count() == 0) {
        m_scrollBar->hide();
        return;
    }
    const int top = std::max(0, CatalogueModel::nodeOf(m_view->indexAt(QPoint(0, 0))));
    const VisibleRows shown = countVisibleRows(m_tree, top);
    const TreeScrollLayout layout = treeScrollLayout(
        {shown.rows, shown.above, m_view->height(), m_track->height(), m_scrollBar->height()});
    if (layout.tag)
        m_scrollRows = *layout.tag;
    if (!layout.visible) {
        m_scrollBar->hide();
        return;
    }
    m_thumbTop->setGeometry(0, layout.thumb.upperCapTop, 13, kThumbCapHeight);
    m_thumb->setGeometry(0, layout.thumb.bodyTop, 13, layout.bodyHeight);
    m_thumbBottom->setGeometry(0, layout.thumb.lowerCapTop, 13, kThumbCapHeight);
    m_scrollBar->show();
}

void CataloguePanel::grabThumb(int y) {
    m_thumbDragging = true;
    m_thumbGrabY = y;
}

void CataloguePanel::releaseThumb() {
    m_thumbDragging = false;
}

void CataloguePanel::dragThumb(int y) {
    if (!m_thumbDragging)
        return;
    const ThumbDragResult drag =
        lumora::dragThumb({m_thumb->y(), y, m_thumbGrabY, m_scrollBar->height(), kThumbCapHeight,
                           kThumbCapHeight, m_thumb->height(), m_scrollRows, m_track->height()});
    m_thumbTop->move(0, drag.thumb.upperCapTop);
    m_thumb->move(0, drag.thumb.bodyTop);
    m_thumbBottom->move(0, drag.thumb.lowerCapTop);
    if (!drag.row)
        return;
    if (const std::optional<int> node = rowToNode(m_tree, *drag.row))
        scrollTo(*node, QAbstractItemView::PositionAtTop);
}

bool CataloguePanel::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == m_searchButton && type == QEvent::MouseButtonRelease)
        emit searchClicked();
    else if (watched == m_treePanel && type == QEvent::Resize)
        emit treeResized(); // the panel settles its size after the window's resize
    else if (watched == m_view->viewport() && type == QEvent::MouseButtonRelease)
        emit treeMouseUp();
    else if (watched == m_searchBox)
        return filterSearchBox(event) || QFrame::eventFilter(watched, event);
    else if (watched == m_thumb)
        return filterThumb(event) || QFrame::eventFilter(watched, event);
    return QFrame::eventFilter(watched, event);
}

bool CataloguePanel::filterSearchBox(QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusIn:
        emit searchEntered();
        return false;
    case QEvent::FocusOut:
        emit searchLeft();
        return false;
    case QEvent::KeyPress:
        return m_searchKey && m_searchKey(static_cast<QKeyEvent*>(event)->key());
    default:
        return false;
    }
}

bool CataloguePanel::filterThumb(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
        return false;
    const int y = int(static_cast<QMouseEvent*>(event)->position().y());
    if (type == QEvent::MouseButtonPress)
        emit thumbPressed(y);
    else if (type == QEvent::MouseMove)
        emit thumbMoved(y);
    else if (type == QEvent::MouseButtonRelease)
        emit thumbReleased();
    return true;
}

} // namespace lumora
