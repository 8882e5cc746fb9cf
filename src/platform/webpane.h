#pragma once

#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace lumora {

// A browser pane showing a page of the service's site.
class WebPane {
public:
    // Navigation flags of the original browser control.
    enum NavigateFlag { NoHistory = 2, NoReadFromCache = 4, NoWriteToCache = 8 };

    virtual ~WebPane() = default;
    virtual QWidget* widget() = 0;
    virtual void navigate(const QString& address, int flags = 0) = 0;
    // The address of the top-level document now shown.
    virtual QString locationUrl() const = 0;
    // Sets the document body's "scroll" attribute and its style's border (empty text: the
    // browser's default). Does nothing while no document is loaded.
    virtual void setBodyScrollAndBorder(const QString& scroll, const QString& borderStyle) = 0;
    // Called when a document finished loading; topLevel is false for frames.
    std::function<void(bool topLevel)> onDocumentComplete;
};

// Makes panes; the real one lives in main, tests use a fake.
class WebPaneFactory {
public:
    virtual ~WebPaneFactory() = default;
    virtual std::unique_ptr<WebPane> createPane(QWidget* parent) = 0;
};

} // namespace lumora
