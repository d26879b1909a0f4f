#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace flagwright {

struct WindowDestroyer {
    void operator()(HWND window) const noexcept { DestroyWindow(window); }
};
struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const noexcept { DeleteObject(object); }
};

// Owners of a window and of a GDI font: destroyed with their owner.
using WindowHandle = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;

} // namespace flagwright
