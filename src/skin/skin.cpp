#include "skin.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QPixmapCache>
#include <QStyle>
#include <QWidget>

namespace lumora {

namespace {

QString& folder() {
    static QString value;
    return value;
}

bool isExempt(const QWidget* widget) {
    const QVariant tag = widget->property(kTagProperty);
    bool ok = false;
    return tag.isValid() && tag.toInt(&ok) == 99 && ok;
}

// Style sheets cannot negate a property selector, so the sheet matches a mark this filter
// keeps on every widget, and a widget's tag turning to or from 99 repolishes it.
class SkinMarker : public QObject {
public:
    using QObject::QObject;

    static void mark(QWidget* widget) {
        const bool skinned = !isExempt(widget);
        const QVariant current = widget->property(kSkinnedProperty);
        if (current.isValid() && current.toBool() == skinned)
            return;
        widget->setProperty(kSkinnedProperty, skinned);
        widget->style()->unpolish(widget);
        widget->style()->polish(widget);
        widget->update();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (!watched->isWidgetType())
            return false;
        if (type == QEvent::Polish ||
            (type == QEvent::DynamicPropertyChange &&
             static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName() == kTagProperty))
            mark(static_cast<QWidget*>(watched));
        return false;
    }
};

} // namespace

bool loadSkin(QApplication& app, const QString& dir) {
    folder() = dir;
    QPixmapCache::clear();
    QFile sheet(QDir(dir).filePath(kSkinStyleSheet));
    if (!sheet.open(QIODevice::ReadOnly))
        return false;
    QString text = QString::fromUtf8(sheet.readAll());
    text.replace(kSkinFolderMark, QDir(dir).absolutePath());
    const QString markerName = QStringLiteral("skinMarker");
    if (!app.findChild<QObject*>(markerName, Qt::FindDirectChildrenOnly)) {
        auto* marker = new SkinMarker(&app);
        marker->setObjectName(markerName);
        app.installEventFilter(marker);
    }
    // Widgets polished before the filter was there get their mark now.
    for (QWidget* widget : QApplication::allWidgets())
        SkinMarker::mark(widget);
    app.setStyleSheet(text);
    return true;
}

QString skinFolder() {
    return folder();
}

QPixmap skinPicture(const QString& name) {
    return skinPicture(name, qApp ? qApp->devicePixelRatio() : 1.0);
}

QPixmap skinPicture(const QString& name, qreal devicePixelRatio) {
    if (folder().isEmpty())
        return {};
    const bool sharp = devicePixelRatio > 1.0;
    const QString path = QDir(folder()).filePath(
        name + (sharp ? QStringLiteral("@2x.png") : QStringLiteral(".png")));
    QPixmap picture;
    if (!QPixmapCache::find(path, &picture) && picture.load(path)) {
        if (sharp)
            picture.setDevicePixelRatio(2.0); // the same size on screen, twice the pixels
        QPixmapCache::insert(path, picture);
    }
    if (picture.isNull() && sharp)
        return skinPicture(name, 1.0);
    return picture;
}

} // namespace lumora
