#include "harness.h"

#include "skin.h"
#include "support/contrast.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTreeView>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <optional>

using namespace lumora;
using namespace lumora::test;

namespace {

constexpr double kAa = 4.5; // WCAG AA for normal text

QString builtSkin() {
    return QString::fromLocal8Bit(std::getenv("LUMORA_BUILD_DIR")) + "/Client/Resource/skin";
}

struct Text {
    QString what;
    QColor foreground;
    QColor background;
};

// The text a widget shows, and the widget's setter for it.
struct TextOf {
    QString text;
    std::function<void(const QString&)> set;
};
std::optional<TextOf> textOf(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget))
        return TextOf{label->text(), [label](const QString& t) { label->setText(t); }};
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return TextOf{button->text(), [button](const QString& t) { button->setText(t); }};
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return TextOf{edit->text(), [edit](const QString& t) { edit->setText(t); }};
    return std::nullopt;
}

// Every text the window shows now, with its colour and the weakest colour behind it: the
// window drawn without that text.
std::vector<Text> shownTexts(TfrmMain& w) {
    std::vector<Text> texts;
    auto onScreen = [&](QWidget* widget, QRect area) {
        return QRect(widget->mapTo(&w, area.topLeft()), area.size());
    };
    for (QWidget* widget : w.findChildren<QWidget*>()) {
        const std::optional<TextOf> shown = textOf(widget);
        if (!widget->isVisibleTo(&w) || !shown || shown->text.isEmpty())
            continue;
        const QSignalBlocker quiet(widget);
        const QColor foreground = widget->palette().color(
            qobject_cast<QLineEdit*>(widget) ? QPalette::Text : widget->foregroundRole());
        shown->set(QString());
        const QImage without = w.grab().toImage();
        shown->set(shown->text);
        // Inside the frame that buttons and edit boxes draw around their text.
        const int frame = qobject_cast<QLabel*>(widget) ? 0 : 3;
        const QRect area = onScreen(widget, widget->rect().adjusted(frame, frame, -frame, -frame));
        texts.push_back({widget->objectName() + " " + shown->text, foreground,
                         weakestAgainst(without, area, foreground)});
    }
    const QImage screen = w.grab().toImage();
    // Tabs and tree rows paint their text from the style: measured from the pixels.
    auto painted = [&](const QString& what, QWidget* widget, QRect area) {
        const QColor background = dominantColour(screen, onScreen(widget, area));
        texts.push_back(
            {what, strongestAgainst(screen, onScreen(widget, area), background), background});
    };
    for (QTabBar* tabs : w.findChildren<QTabBar*>())
        for (int i = 0; tabs->isVisibleTo(&w) && i < tabs->count(); ++i)
            painted(tabs->tabText(i), tabs, tabs->tabRect(i));
    QTreeView* tree = catalogueWidget<QTreeView>(w, "tv1");
    for (QModelIndex at = tree->model()->index(0, 0); at.isValid(); at = tree->indexBelow(at)) {
        const QRect row = tree->visualRect(at);
        // The text only, after the item's picture.
        painted(at.data().toString(), tree->viewport(),
                row.adjusted(tree->iconSize().width() + 6, 0, 0, 0));
    }
    return texts;
}

void expectReadable(TfrmMain& w, const char* state) {
    SCOPED_TRACE(state);
    const std::vector<Text> texts = shownTexts(w);
    EXPECT_GE(texts.size(), 8u);
    for (const Text& t : texts)
        EXPECT_GE(contrastRatio(t.foreground, t.background), kAa)
            << t.what.toStdString() << ": " << t.foreground.name().toStdString() << " on "
            << t.background.name().toStdString();
}

} // namespace

TEST(Contrast, EveryTextOfTheWindowMeetsAa) {
    ASSERT_TRUE(loadSkin(*qApp, builtSkin()));
    Harness h;
    TfrmMain& w = h.create();
    w.show();
    expectReadable(w, "at start");

    ASSERT_TRUE(w.selectNode(1));
    w.tv1Click();
    expectReadable(w, "playing, a row selected");

    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w.findChild<QLabel*>("lblWeb"), &move);
    expectReadable(w, "the mouse over the recommendation");
    qApp->setStyleSheet(QString());
}
