// The catalogue column: the programme tree kept in m_tree, shown by the catalogue panel.
#include "cataloguepanel.h"
#include "catalogueprefetch.h"
#include "config.h"
#include "failurereport.h"
#include "inistore.h"
#include "mainwindow.h"
#include "treerules.h"
#include "webpane.h"

#include <utility>

namespace lumora {

void TfrmMain::connectCatalogue() {
    CataloguePanel* panel = pnlFunALl;
    connect(panel, &CataloguePanel::nodeClicked, this, &TfrmMain::tv1Click);
    connect(panel, &CataloguePanel::nodeExpanded, this, &TfrmMain::tv1Expanded);
    connect(panel, &CataloguePanel::nodeCollapsed, this, &TfrmMain::tv1Collapsed);
    connect(panel, &CataloguePanel::treeMouseUp, this, &TfrmMain::tv1MouseUp);
    // The tree's panel settles its size after the window's resize: the bar follows it.
    connect(panel, &CataloguePanel::treeResized, this, &TfrmMain::FormResize);
    connect(panel, &CataloguePanel::thumbPressed, this, &TfrmMain::imgScrollMiddle2MouseDown);
    connect(panel, &CataloguePanel::thumbMoved, this, &TfrmMain::imgScrollMiddle2MouseMove);
    connect(panel, &CataloguePanel::thumbReleased, this, &TfrmMain::imgScrollMiddle2MouseUp);
    connect(panel, &CataloguePanel::searchClicked, this, &TfrmMain::imgSearchClick);
    connect(panel, &CataloguePanel::searchTextChanged, this, &TfrmMain::edtkeyChange);
    connect(panel, &CataloguePanel::searchEntered, this, &TfrmMain::edtkeyEnter);
    connect(panel, &CataloguePanel::searchLeft, this, &TfrmMain::edtkeyExit);
    panel->setSearchKeyHandler([this](int key) { return edtkeyKeyDown(key); });
    panel->adsPane().onDocumentComplete = [this](bool top) { wbAdsDocumentComplete(top); };
}

WebPane& TfrmMain::wbAds() {
    return pnlFunALl->adsPane();
}

Done TfrmMain::reloadCatalogue() {
    const Outcome<LoadOutcome> loaded = pnlFunALl->changeTree(-1, [this] {
        return loadCatalogue(catalogueFilePath(m_config.appDir, m_config.currentChannel), m_tree,
                             std::exchange(m_services.catalogue, nullptr));
    });
    if (!loaded)
        return loaded.failure();
    syncExpansion();
    if (loaded->resetCurrentNode)
        m_config.currentNodeIndex = 0;
    if (loaded->selectedIndex >= 0)
        selectNode(loaded->selectedIndex);
    return {};
}

void TfrmMain::syncExpansion() {
    pnlFunALl->syncExpansion();
}

void TfrmMain::clickFolder(int index) {
    // Only the clicked folder and the branches the accordion closed change on screen.
    pnlFunALl->syncExpansion(applyFolderClick(m_tree, index));
}

bool TfrmMain::selectNode(int index) {
    return pnlFunALl->select(index);
}

int TfrmMain::selectedNode() const {
    return pnlFunALl->selected();
}

void TfrmMain::tv1Click() {
    reportFailure(m_services.dialogs, openSelectedNode());
}

Done TfrmMain::openSelectedNode() {
    const int index = selectedNode();
    switch (clickKind(m_tree, index)) {
    case ClickKind::None:
        return {};
    case ClickKind::Folder:
        clickFolder(index);
        return {};
    case ClickKind::Play:
        m_config.currentNodeIndex = index;
        writeIniValue(m_config.localIniPath, ini::Section, QString::number(m_config.currentChannel),
                      QString::number(index));
        return playProgramme(m_tree.record(index));
    }
    return {};
}

void TfrmMain::tv1Expanded(int index) {
    m_tree.setExpanded(index, true);
    pnlFunALl->nodeChanged(index);
}

void TfrmMain::tv1Collapsed(int index) {
    m_tree.setExpanded(index, false);
    pnlFunALl->nodeChanged(index);
}

void TfrmMain::tv1MouseUp() {
    updateTreeScrollBar();
}

void TfrmMain::updateTreeScrollBar() {
    pnlFunALl->updateScrollBar();
}

void TfrmMain::imgScrollMiddle2MouseDown(int y) {
    pnlFunALl->grabThumb(y);
}

void TfrmMain::imgScrollMiddle2MouseMove(int y) {
    pnlFunALl->dragThumb(y);
}

void TfrmMain::imgScrollMiddle2MouseUp() {
    pnlFunALl->releaseThumb();
}

int TfrmMain::getFirstPlay() const {
    return lumora::getFirstPlay(m_tree);
}

int TfrmMain::getChildCount(int index) const {
    return lumora::getChildCount(m_tree, index);
}

} // namespace lumora
