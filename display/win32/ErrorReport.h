#pragma once
// Where exceptions caught at the system's callbacks (window procedures, timer callbacks) go: a
// message box with the error text, after which the program carries on.

#include <string>

// Tests put their own report in; nullptr puts the box back. Gives the previous one.
using TErrorReport = void (*)(const std::wstring& text);
TErrorReport SetErrorReport(TErrorReport report);

// Only inside a catch block: reports the exception being handled. At most one report per thread
// is shown at a time, so that timer ticks cannot stack boxes.
void ReportCurrentException() noexcept;

// Runs body; an exception it throws is reported and fallback answered instead.
template <typename Body, typename Result>
Result Guarded(Body&& body, Result fallback) noexcept {
    try {
        return body();
    } catch (...) {
        ReportCurrentException();
        return fallback;
    }
}

template <typename Body>
void Guarded(Body&& body) noexcept {
    try {
        body();
    } catch (...) {
        ReportCurrentException();
    }
}
