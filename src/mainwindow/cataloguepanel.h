#pragma once

#include "cataloguemodel.h"

#include <QAbstractItemView>
#include <QFrame>

#include <functional>
#include <memory>
#include <span>

class QLabel;
class QLineEdit;
class QTreeView;

namespace lumora {

class WebPane;
class WebPaneFactory;

// The catalogue column (pnlFunALl): the search strip, the programme tree tv1 with its picture
// scroll bar, and the channel's advertisement pane below. Nodes are named by absolute index.
class CataloguePanel final : public QFrame {
    Q_OBJECT
public:
    CataloguePanel(const CatalogueTree& tree, WebPaneFactory& panes, QWidget* parent);
    ~CataloguePanel() override;

    // The tree. Changes of its structure go through changeTree (see CatalogueModel).
    template <typename Change> auto changeTree(int tailStart, Change&& change) {
        return m_model->changeTree(tailStart, std::forward<Change>(change));
    }
    void syncExpansion(); // shows the tree's expanded flags and pictures
    // The same for the given nodes only: a folder click changes a few of thousands.
    void syncExpansion(std::span<const int> nodes);
    void nodeChanged(int node); // shows the node's picture for its state
    bool select(int node);      // false when there is no such node
    int selected() const;       // -1 without a selection
    bool isShownExpanded(int node) const;
    void scrollTo(int node, QAbstractItemView::ScrollHint hint = QAbstractItemView::EnsureVisible);

    // The search box.
    QString searchText() const;
    void setSearchText(const QString& text);
    // Asked for every key pressed in the box; true when the key was taken.
    void setSearchKeyHandler(std::function<bool(int key)> handler);

    // The picture scroll bar over the tree's right edge.
    void layoutScrollBar(); // after the tree's panel changed its size
    void updateScrollBar(); // after the shown rows changed
    int scrollRows() const { return m_scrollRows; }
    void grabThumb(int y);
    void dragThumb(int y);
    void releaseThumb();

    // The advertisement pane, shown when its page is there.
    WebPane& adsPane() { return *m_adsPane; }
    void showAds(bool shown);
    bool adsShown() const;

signals:
    void nodeClicked();
    void nodeExpanded(int node);
    void nodeCollapsed(int node);
    void treeMouseUp();
    void treeResized();
    void searchClicked();
    void searchTextChanged();
    void searchEntered();
    void searchLeft();
    void thumbPressed(int y);
    void thumbMoved(int y);
    void thumbReleased();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildSearch();
    QWidget* buildTree();
    void buildScrollBar(QWidget* treePanel);
    QWidget* buildAds(WebPaneFactory& panes);
    bool filterSearchBox(QEvent* event);
    bool filterThumb(QEvent* event);

    const CatalogueTree& m_tree;
    CatalogueModel* m_model = nullptr;
    QLineEdit* m_searchBox = nullptr;   // edtkey
    QLabel* m_searchButton = nullptr;   // imgSearch
    QWidget* m_treePanel = nullptr;     // pnlFuncTree
    QTreeView* m_view = nullptr;        // tv1
    QWidget* m_scrollBar = nullptr;     // pnlScroll
    QLabel* m_trackTop = nullptr;       // imgScrollTop
    QLabel* m_track = nullptr;          // imgScrollMiddle
    QLabel* m_trackBottom = nullptr;    // imgScrollBottom
    QLabel* m_thumbTop = nullptr;       // imgScrollTop2
    QLabel* m_thumb = nullptr;          // imgScrollMiddle2
    QLabel* m_thumbBottom = nullptr;    // imgScrollBottom2
    QWidget* m_adsPanel = nullptr;      // pnlAds
    std::unique_ptr<WebPane> m_adsPane; // wbAds
    std::function<bool(int)> m_searchKey;
    int m_scrollRows = 0; // the tree's tag: rows counted by the last bar update
    bool m_thumbDragging = false;
    int m_thumbGrabY = 0;
};

} // namespace lumora
