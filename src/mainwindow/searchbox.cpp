// The search strip above the catalogue tree.
#include "dialogs.h"
#include "mainwindow.h"
#include "search.h"
#include "texts.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

#include <stdexcept>

namespace lumora {

void TfrmMain::imgSearchClick() {
    const SearchOutcome outcome = changeTree([&] { return runSearch(m_tree, edtkey->text()); });
    switch (outcome.status) {
    case SearchOutcome::Status::NoKeyword:
        m_services.dialogs.showInfo(CatalogueText::EnterKeyword);
        return;
    case SearchOutcome::Status::NothingFound:
        m_services.dialogs.showInfo(CatalogueText::NothingFound);
        return;
    case SearchOutcome::Status::ConversionError:
        throw std::runtime_error(outcome.error.toStdString()); // to the standard error box
    case SearchOutcome::Status::Found:
        selectNode(outcome.folderIndex);
        tv1->scrollToItem(m_items[std::size_t(outcome.folderIndex)]);
        tv1Click();
        return;
    }
}

void TfrmMain::delSearchResult() {
    changeTree([&] { return lumora::delSearchResult(m_tree); });
}

void TfrmMain::edtkeyEnter() {
    if (edtkey->text() == CatalogueText::SearchPlaceholder)
        edtkey->clear();
}

void TfrmMain::edtkeyExit() {
    if (edtkey->text().trimmed().isEmpty())
        edtkey->setText(CatalogueText::SearchPlaceholder);
}

void TfrmMain::edtkeyChange() {
    if (edtkey->text().trimmed().isEmpty())
        delSearchResult();
}

bool TfrmMain::edtkeyKeyDown(int key) {
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    imgSearchClick();
    return true;
}

int TfrmMain::treeTailStart() const {
    const int count = m_tree.topLevelCount();
    for (int i = 0; i < count; ++i) {
        const int index = m_tree.topLevelAt(i);
        if (m_tree.caption(index) == CatalogueText::SearchResult)
            return i == count - 1 ? index : -1; // a catalogue folder of that name: all changes
    }
    return m_tree.count();
}

void TfrmMain::rebuildTreeItemsFrom(int first) {
    if (first < 0) {
        rebuildTreeItems();
        return;
    }
    // Nodes before first are unchanged; everything from first on lies in trailing top-level
    // branches (the result folder).
    while (tv1->topLevelItemCount() > 0) {
        QTreeWidgetItem* last = tv1->topLevelItem(tv1->topLevelItemCount() - 1);
        if (last->data(0, kTreeIndexRole).toInt() < first)
            break;
        delete tv1->takeTopLevelItem(tv1->topLevelItemCount() - 1);
    }
    m_items.resize(std::size_t(first));
    appendTreeItems(first);
}

} // namespace lumora
