// The search strip above the catalogue tree.
#include "cataloguepanel.h"
#include "dialogs.h"
#include "failurereport.h"
#include "mainwindow.h"
#include "search.h"
#include "texts.h"

namespace lumora {

void TfrmMain::imgSearchClick() {
    const SearchOutcome outcome = pnlFunALl->changeTree(
        searchTailStart(m_tree), [&] { return runSearch(m_tree, pnlFunALl->searchText()); });
    syncExpansion();
    switch (outcome.status) {
    case SearchOutcome::Status::NoKeyword:
        m_services.dialogs.showInfo(CatalogueText::EnterKeyword);
        return;
    case SearchOutcome::Status::NothingFound:
        m_services.dialogs.showInfo(CatalogueText::NothingFound);
        return;
    case SearchOutcome::Status::ConversionError:
        reportFailure(m_services.dialogs, Failure{outcome.error});
        return;
    case SearchOutcome::Status::Found:
        selectNode(outcome.folderIndex);
        pnlFunALl->scrollTo(outcome.folderIndex);
        tv1Click();
        return;
    }
}

void TfrmMain::delSearchResult() {
    pnlFunALl->changeTree(searchTailStart(m_tree), [&] { return lumora::delSearchResult(m_tree); });
    syncExpansion();
}

void TfrmMain::edtkeyEnter() {
    if (pnlFunALl->searchText() == CatalogueText::SearchPlaceholder)
        pnlFunALl->setSearchText(QString());
}

void TfrmMain::edtkeyExit() {
    if (pnlFunALl->searchText().trimmed().isEmpty())
        pnlFunALl->setSearchText(CatalogueText::SearchPlaceholder);
}

void TfrmMain::edtkeyChange() {
    if (pnlFunALl->searchText().trimmed().isEmpty())
        delSearchResult();
}

bool TfrmMain::edtkeyKeyDown(int key) {
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    imgSearchClick();
    return true;
}

} // namespace lumora
