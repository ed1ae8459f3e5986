#include "core/Exceptions.h"

#include "core/Utf8.h"

const wchar_t* const SListIndexError = L"List index out of bounds (%d)";
const wchar_t* const SSortedListError = L"Operation not allowed on sorted list";
const wchar_t* const SDuplicateString = L"String list does not allow duplicates";
const wchar_t* const SFOpenErrorEx = L"Cannot open file \"%s\". %s";
const wchar_t* const SFCreateErrorEx = L"Cannot create file \"%s\". %s";
const wchar_t* const SReadError = L"Stream read error";
const wchar_t* const SWriteError = L"Stream write error";

Exception::Exception(std::wstring message) : message_(std::move(message)), utf8_(WideToUtf8(message_)) {}

std::wstring FormatMessageText(const std::wstring& format, long long number) {
    std::wstring out = format;
    const auto at = out.find(L"%d");
    if (at != std::wstring::npos) {
        out.replace(at, 2, std::to_wstring(number));
    }
    return out;
}

std::wstring FormatMessageText(const std::wstring& format, const std::wstring& first, const std::wstring& second) {
    std::wstring out;
    int filled = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == L'%' && i + 1 < format.size() && format[i + 1] == L's' && filled < 2) {
            out += filled++ == 0 ? first : second;
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}
