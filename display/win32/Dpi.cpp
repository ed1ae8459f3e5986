#include "display/win32/Dpi.h"

#include <atomic>

namespace {

std::atomic<int> dpiOverride{0};

// Functions of newer systems, looked up once: older ones (and Wine where it lacks them) report the
// system's DPI everywhere.
template <typename F>
F User32Function(const char* name) {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 != nullptr ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

using TGetDpiForWindow = UINT(WINAPI*)(HWND);
using TSystemParametersInfoForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using TGetSystemMetricsForDpi = int(WINAPI*)(int, UINT);

int ValidDpi(int dpi) {
    return dpi > 0 ? dpi : kDesignDpi;
}

} // namespace

int SystemDpi() {
    if (const int forced = dpiOverride.load(); forced > 0) {
        return forced;
    }
    const HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return ValidDpi(dpi);
}

int WindowDpi(HWND window) {
    if (const int forced = dpiOverride.load(); forced > 0) {
        return forced;
    }
    static const auto forWindow = User32Function<TGetDpiForWindow>("GetDpiForWindow");
    if (forWindow != nullptr && window != nullptr) {
        if (const UINT dpi = forWindow(window); dpi > 0) {
            return static_cast<int>(dpi);
        }
    }
    return SystemDpi();
}

void SetDpiOverride(int dpi) {
    dpiOverride.store(dpi > 0 ? dpi : 0);
}

int ScaleToDpi(int value, int dpi) {
    return MulDiv(value, ValidDpi(dpi), kDesignDpi);
}

LOGFONTW MessageFontForDpi(int dpi) {
    dpi = ValidDpi(dpi);
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    static const auto forDpi = User32Function<TSystemParametersInfoForDpi>("SystemParametersInfoForDpi");
    if (forDpi != nullptr && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi))) {
        return metrics.lfMessageFont;
    }
    // The plain call gives the font at the system's DPI.
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        metrics.lfMessageFont.lfHeight = -11;
        lstrcpynW(metrics.lfMessageFont.lfFaceName, L"Tahoma", LF_FACESIZE);
    }
    const HDC screen = GetDC(nullptr);
    const int systemDpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, ValidDpi(systemDpi));
    return metrics.lfMessageFont;
}

int SmallIconSize(int dpi) {
    static const auto forDpi = User32Function<TGetSystemMetricsForDpi>("GetSystemMetricsForDpi");
    if (forDpi != nullptr) {
        if (const int size = forDpi(SM_CXSMICON, static_cast<UINT>(ValidDpi(dpi))); size > 0) {
            return size;
        }
    }
    return ScaleToDpi(16, dpi);
}

HICON LoadSmallIcon(HINSTANCE module, const wchar_t* name, int dpi) {
    const int size = SmallIconSize(dpi);
    HICON icon = static_cast<HICON>(LoadImageW(module, name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    return icon != nullptr ? icon : LoadIconW(module, name);
}

void MoveToSuggestedRect(HWND window, LPARAM suggested) {
    const RECT* rect = reinterpret_cast<const RECT*>(suggested);
    if (rect != nullptr) {
        SetWindowPos(window, nullptr, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
