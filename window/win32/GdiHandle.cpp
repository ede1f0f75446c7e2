#include "GdiHandle.h"

namespace canprog::win32window {

FontHandle windowFont(UINT dpi, bool bold, int pixelHeight) {
    const int height = pixelHeight ? -pixelHeight : -::MulDiv(8, static_cast<int>(dpi), 72);
    return FontHandle(::CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                                    FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                    CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma"));
}

}  // namespace canprog::win32window
