#include "display/win32/ErrorReport.h"

#include <windows.h>

#include <exception>

#include "core/Exceptions.h"
#include "core/Utf8.h"

namespace {

TErrorReport errorReport = nullptr;
thread_local bool reporting = false; // per thread: a window of another thread may report meanwhile

void ShowErrorBox(const std::wstring& text) {
    // The message as a sentence, the program's name as the caption.
    std::wstring message = text;
    if (!message.empty() && message.back() > L'.') {
        message += L'.';
    }
    std::wstring caption(MAX_PATH, L'\0');
    caption.resize(GetModuleFileNameW(nullptr, caption.data(), MAX_PATH));
    caption = caption.substr(caption.find_last_of(L"\\/") + 1);
    caption = caption.substr(0, caption.rfind(L'.'));
    MessageBoxW(nullptr, message.c_str(), caption.c_str(), MB_OK | MB_ICONSTOP);
}

} // namespace

TErrorReport SetErrorReport(TErrorReport report) {
    const TErrorReport previous = errorReport;
    errorReport = report;
    return previous;
}

void ReportCurrentException() noexcept {
    if (reporting) {
        return;
    }
    reporting = true;
    try {
        std::wstring text;
        try {
            throw;
        } catch (const Exception& e) {
            text = e.Message();
        } catch (const std::exception& e) {
            text = Utf8ToWide(e.what());
        } catch (...) {
            text = L"Unknown exception";
        }
        (errorReport != nullptr ? errorReport : ShowErrorBox)(text);
    } catch (...) {
        // Nothing is left to tell it with.
    }
    reporting = false;
}
