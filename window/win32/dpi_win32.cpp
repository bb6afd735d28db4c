#include "window/win32/dpi.h"

#include "runtime/windows_api_win32.h"

namespace lumvrex {

UINT dotsPerInch(HWND window)
{
    static auto *const perWindow = systemFunction<UINT WINAPI(HWND)>(L"user32.dll", "GetDpiForWindow");
    if (perWindow) {
        if (const UINT dpi = perWindow(window))
            return dpi;
    }
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

SIZE windowSizeFor(SIZE client, DWORD style, DWORD extendedStyle, UINT dpi)
{
    static auto *const forDpi = systemFunction<BOOL WINAPI(RECT *, DWORD, BOOL, DWORD, UINT)>(
        L"user32.dll", "AdjustWindowRectExForDpi");
    RECT frame = {0, 0, client.cx, client.cy};
    if (!forDpi || !forDpi(&frame, style, FALSE, extendedStyle, dpi))
        AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

HFONT createDialogFont(UINT dpi)
{
    LOGFONTW font = {};
    font.lfHeight = -MulDiv(8, static_cast<int>(dpi), 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(font.lfFaceName, L"MS Shell Dlg 2", LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

} // namespace lumvrex
