#pragma once
#include <QString>

namespace zt {

// Gives a new widget its object name (what tests and styles find it by)
// and hands it back.
template <typename Widget>
Widget* Named(Widget* w, const char* name)
{
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

}  // namespace zt
