#pragma once
// A widget of the windows made with its object name, which the tests and the
// accessibility tools find it by.

#include <QString>
#include <utility>

template <class Widget, class... Args> Widget *namedWidget(const QString &name, Args &&...args)
{
    auto *widget = new Widget(std::forward<Args>(args)...);
    widget->setObjectName(name);
    return widget;
}
