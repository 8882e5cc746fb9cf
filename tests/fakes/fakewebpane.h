#pragma once

#include "webpane.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>
#include <utility>

namespace lumora::test {

// A pane that loads nothing: it records what it is told and completes when the test says so.
class FakeWebPane : public WebPane {
public:
    struct Navigation {
        QString address;
        int flags = 0;
        bool operator==(const Navigation&) const = default;
    };
    struct BodyStyle {
        QString scroll;
        QString borderStyle;
        bool operator==(const BodyStyle&) const = default;
    };

    explicit FakeWebPane(QWidget* parent = nullptr) : m_widget(new QWidget(parent)) {}
    ~FakeWebPane() override { delete m_widget.data(); }
    FakeWebPane(const FakeWebPane&) = delete;
    FakeWebPane& operator=(const FakeWebPane&) = delete;

    QWidget* widget() override { return m_widget; }
    // Navigating moves the location to the address, as a page that loads without redirect.
    void navigate(const QString& address, int flags = 0) override {
        m_navigations.append({address, flags});
        m_location = address;
    }
    QString locationUrl() const override { return m_location; }
    void setBodyScrollAndBorder(const QString& scroll, const QString& borderStyle) override {
        m_bodyStyles.append({scroll, borderStyle});
    }

    void setLocation(const QString& location) { m_location = location; }
    void complete(bool topLevel = true) {
        if (onDocumentComplete)
            onDocumentComplete(topLevel);
    }
    const QList<Navigation>& navigations() const { return m_navigations; }
    const QList<BodyStyle>& bodyStyles() const { return m_bodyStyles; }

private:
    QPointer<QWidget> m_widget;
    QString m_location;
    QList<Navigation> m_navigations;
    QList<BodyStyle> m_bodyStyles;
};

// Makes fake panes and keeps a (non-owning) pointer to each, in order of creation.
class FakeWebPaneFactory : public WebPaneFactory {
public:
    std::unique_ptr<WebPane> createPane(QWidget* parent) override {
        auto pane = std::make_unique<FakeWebPane>(parent);
        m_panes.append(pane.get());
        return pane;
    }
    const QList<FakeWebPane*>& panes() const { return m_panes; }
    FakeWebPane* last() const { return m_panes.isEmpty() ? nullptr : m_panes.last(); }

private:
    QList<FakeWebPane*> m_panes;
};

} // namespace lumora::test
