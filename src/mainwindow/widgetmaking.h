#pragma once

#include <QBoxLayout>
#include <QColor>
#include <QFrame>
#include <QPalette>
#include <QRect>
#include <QString>
#include <QWidget>

// Small makers the window's parts build their children with: named widgets, bare panels and
// layouts without margins, as the window's design lays them out.
namespace lumora::ui {

template <typename T> T* make(QWidget* parent, const char* name) {
    auto* w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

template <typename T> T* make(QWidget* parent, const char* name, const QRect& geometry) {
    T* w = make<T>(parent, name);
    w->setGeometry(geometry);
    return w;
}

inline QFrame* panel(QWidget* parent, const char* name) {
    auto* f = make<QFrame>(parent, name);
    f->setFrameShape(QFrame::NoFrame);
    return f;
}

inline void fill(QWidget* w, const QColor& colour) {
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
}

inline QVBoxLayout* column(QWidget* w) {
    auto* l = new QVBoxLayout(w);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    return l;
}

inline QHBoxLayout* row(QWidget* w) {
    auto* l = new QHBoxLayout(w);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    return l;
}

} // namespace lumora::ui
