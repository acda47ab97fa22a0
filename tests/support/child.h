#pragma once
// A page's inner widget found by its objectName, the name tests and tracing rely on.

#include <QObject>
#include <QString>
#include <QtGlobal>

namespace zr::test
{

template <typename T> T* Child(const QObject* root, const char* name)
{
    T* child = root->findChild<T*>(QLatin1String(name));
    if (!child)
        qFatal("no child %s of type %s", name, T::staticMetaObject.className());
    return child;
}

} // namespace zr::test
