#pragma once
// The help pages' and about texts' converter: a UTF-8 source as UTF-16 text with CR LF line ends,
// written as 8-bit HTML in code page 1251 or as UTF-16LE.

#include <string>
#include <string_view>

// The source's text with each line end (CR LF, LF or a lone CR) as CR LF and a leading byte-order
// mark dropped. Throws DictSourceError "name:line: ..." for invalid UTF-8 or a control character:
// the help reader would take U+0080..U+009F as code page 1252 and show other letters.
std::wstring TextSourceText(std::string_view bytes, const std::string& sourceName);
// The same for a file; std::runtime_error "name: cannot open" when it cannot be read.
std::wstring ReadTextSource(const std::wstring& name);

// Code page 1251, a character the code page lacks as a character reference (&#1241;).
std::string ToHtml1251(const std::wstring& text);
// UTF-16LE with a byte-order mark.
std::string ToUtf16Bytes(const std::wstring& text);
