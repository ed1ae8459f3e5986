#include "main/GP_Html.h"

#include <gtest/gtest.h>

namespace {

TGP_Proc_Rec Record(const wchar_t* form, const wchar_t* split, std::vector<TAffixInfo> affixes) {
    TGP_Proc_Rec rec;
    rec.Base = L"китап";
    rec.Form = form;
    rec.SplitForm = split;
    rec.Affixes = std::move(affixes);
    return rec;
}

} // namespace

TEST(ParadigmHtml, ExactTextForNoneOneAndTwoAffixes) {
    struct TCase {
        TGP_Proc_Rec Rec;
        const wchar_t* Html;
    };
    const TCase cases[] = {
        {Record(L"китап", L"китап", {}),
         L"<HTML><STRONG><FONT COLOR=\"#0000FF\" SIZE=5>китап</STRONG></BIG></FONT></HTML>"},
        {Record(L"китаплар", L"китап/лар", {{L"лар", L"Множественное число", 1, 0}}),
         L"<HTML><STRONG><FONT COLOR=\"#0000FF\" SIZE=5>китаплар<BR>&nbsp;&nbsp;&nbsp;&nbsp;</STRONG></FONT>"
         L"<FONT COLOR=\"#0000AA\" SIZE=4><BIG>китап/лар<BR>&nbsp;&nbsp;&nbsp;&nbsp;</FONT><FONT SIZE=4><BIG></FONT>"
         L"<FONT COLOR=\"#0000AA\" SIZE=4><BIG>лар</FONT><FONT SIZE=4><BIG> - Множественное число"
         L"<BR>&nbsp;&nbsp;&nbsp;&nbsp;</BIG></FONT></HTML>"},
        {Record(L"китабыма", L"китаб/ым/а", {{L"ым", L"1 лицо", 7, 0}, {L"а", L"Дательный падеж", 31, 0}}),
         L"<HTML><STRONG><FONT COLOR=\"#0000FF\" SIZE=5>китабыма<BR>&nbsp;&nbsp;&nbsp;&nbsp;</STRONG></FONT>"
         L"<FONT COLOR=\"#0000AA\" SIZE=4><BIG>китаб/ым/а<BR>&nbsp;&nbsp;&nbsp;&nbsp;</FONT><FONT SIZE=4><BIG></FONT>"
         L"<FONT COLOR=\"#0000AA\" SIZE=4><BIG>ым</FONT><FONT SIZE=4><BIG> - 1 лицо<BR>&nbsp;&nbsp;&nbsp;&nbsp;"
         L"<FONT COLOR=\"#0000AA\" SIZE=4><BIG>а</FONT><FONT SIZE=4><BIG> - Дательный падеж"
         L"<BR>&nbsp;&nbsp;&nbsp;&nbsp;</BIG></FONT></HTML>"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(ParadigmHtml(c.Rec), c.Html) << c.Rec.Form;
    }
}

TEST(ParadigmHtml, EscapesTheRecordsTexts) {
    const TGP_Proc_Rec rec = Record(L"a<b>&c", L"a<b/>&c", {{L"<i>", L"x & y", 1, 0}});
    const std::wstring html = ParadigmHtml(rec);
    EXPECT_NE(html.find(L"SIZE=5>a&lt;b&gt;&amp;c<BR>"), std::wstring::npos) << html;
    EXPECT_NE(html.find(L"<BIG>a&lt;b/&gt;&amp;c<BR>"), std::wstring::npos) << html;
    EXPECT_NE(html.find(L"<BIG>&lt;i&gt;</FONT>"), std::wstring::npos) << html;
    EXPECT_NE(html.find(L" - x &amp; y<BR>"), std::wstring::npos) << html;
}

TEST(ParadigmHtml, MissingAffixTextsShowAsEmpty) {
    const TGP_Proc_Rec rec = Record(L"бар", L"бар", {{nullptr, nullptr, 21, 61}});
    EXPECT_NE(ParadigmHtml(rec).find(L"<BIG></FONT><FONT SIZE=4><BIG> - <BR>"), std::wstring::npos);
}

TEST(ParadigmHtml, EmptyRecordIsTheEmptyForm) {
    EXPECT_EQ(ParadigmHtml(TGP_Proc_Rec()),
              L"<HTML><STRONG><FONT COLOR=\"#0000FF\" SIZE=5></STRONG></BIG></FONT></HTML>");
}
