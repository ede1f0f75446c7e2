#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace canprog::win32window {

// A GDI object (font, brush, region) that is deleted with its owner.
struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { ::DeleteObject(object); }
};
template <typename Handle>
using GdiHandle = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

using FontHandle = GdiHandle<HFONT>;
using BrushHandle = GdiHandle<HBRUSH>;
using RegionHandle = GdiHandle<HRGN>;

// The window's font, Tahoma 8 pt, at a monitor's dots per inch.
FontHandle windowFont(UINT dpi, bool bold = false, int pixelHeight = 0);

}  // namespace canprog::win32window
