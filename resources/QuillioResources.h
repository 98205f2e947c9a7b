#pragma once

#include <QtGlobal>

// Q_INIT_RESOURCE must be expanded outside any namespace, so the registration lives in a global helper.
inline void quillioInitResourcesImpl()
{
    Q_INIT_RESOURCE(resources);
}

namespace quillio {

// Registers the pictures compiled into the quillio_resources static library.
// Call once, after the QApplication is created and before any ":/..." path is used.
inline void initResources()
{
    ::quillioInitResourcesImpl();
}

} // namespace quillio
