#include "main/GP_Html.h"

#include "main/html/HtmlValues.h"

namespace {

void AppendEscaped(std::wstring& html, const wchar_t* text) {
    if (text != nullptr) {
        AppendHtmlEscaped(html, text);
    }
}

constexpr const wchar_t* kIndent = L"<BR>&nbsp;&nbsp;&nbsp;&nbsp;";

} // namespace

std::wstring ParadigmHtml(const TGP_Proc_Rec& rec) {
    std::wstring html = L"<HTML><STRONG><FONT COLOR=\"#0000FF\" SIZE=5>";
    AppendEscaped(html, rec.Form.c_str());
    if (rec.Affixes.empty()) {
        return html + L"</STRONG></BIG></FONT></HTML>";
    }
    html += kIndent;
    html += L"</STRONG></FONT><FONT COLOR=\"#0000AA\" SIZE=4><BIG>";
    AppendEscaped(html, rec.SplitForm.c_str());
    html += kIndent;
    html += L"</FONT><FONT SIZE=4><BIG></FONT>";
    for (const TAffixInfo& affix : rec.Affixes) {
        html += L"<FONT COLOR=\"#0000AA\" SIZE=4><BIG>";
        AppendEscaped(html, affix.AffixText);
        html += L"</FONT><FONT SIZE=4><BIG> - ";
        AppendEscaped(html, affix.FormName);
        html += kIndent;
    }
    return html + L"</BIG></FONT></HTML>";
}
