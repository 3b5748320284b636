#pragma once
#include "core/engine.h"

namespace zt {

// Makes a worksheet current for the lifetime of the object; the one that
// was current before is current again afterwards.
class ScopedSheet {
public:
    ScopedSheet(Engine& e, int slot);
    ~ScopedSheet();
    ScopedSheet(const ScopedSheet&) = delete;
    ScopedSheet& operator=(const ScopedSheet&) = delete;

private:
    Engine& e_;
    int previous_;
};

}  // namespace zt
