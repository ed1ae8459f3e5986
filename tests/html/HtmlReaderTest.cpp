#include "main/html/HtmlReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/html/HtmlTestSupport.h"

namespace {

struct TReaderCase {
    const wchar_t* Html;
    const wchar_t* Runs; // DescribeRuns form
};

void ExpectRuns(const std::vector<TReaderCase>& cases) {
    for (const TReaderCase& c : cases) {
        EXPECT_EQ(DescribeRuns(ReadHtml(c.Html)), c.Runs) << "HTML: " << Narrow(c.Html);
    }
}

TEST(HtmlReader, StyleTags) {
    ExpectRuns({
        {L"hello", L"hello"},
        {L"<b>word</b> <i>x</i>", L"[b]word[] [i]x"},
        {L"<STRONG>A</strong><Em>B</eM><u>C</U>", L"[b]A[i]B[u]C"},
        {L"<cite>c</cite>", L"[i]c"},
        {L"<b><b>x</b>y</b>z", L"[b]xy[]z"},
        {L"<blink>a</blink><x-y z=1>b</x-y>", L"ab"},
        {L"a<b/>b</b>c", L"a[b]b[]c"},
        {L"<a href=\"help.htm\">link</a> <a name=top>anchor</a>", L"[u #0000FF]link[] anchor"},
    });
}

TEST(HtmlReader, FontColourAndSize) {
    ExpectRuns({
        {L"<FONT COLOR=\"#0000FF\" SIZE=5>x</FONT>y", L"[#0000FF s5]x[]y"},
        {L"<font color=red>x", L"[#FF0000]x"},
        {L"<font color='Navy'>x", L"[#000080]x"},
        {L"<font color=\"#abc\">x", L"[#AABBCC]x"},
        {L"<font color=00ff00>x", L"[#00FF00]x"},
        {L"<font color=\" #0000aa \">x", L"[#0000AA]x"},
        {L"<font color=\"nonsense\">x", L"x"},
        {L"<font color=\"#12345\">x", L"x"},
        {L"<font color=red color=blue>x", L"[#FF0000]x"},
        {L"<font size=+1>x", L"[s4]x"},
        {L"<font size=\"-2\">x", L"[s1]x"},
        {L"<font size=9>x", L"[s7]x"},
        {L"<font size=0>x", L"[s1]x"},
        {L"<font size=+99999999999>x", L"[s7]x"},
        {L"<font size=big>x", L"x"},
        {L"<font size=5><font color=red>x</font>y</font>z", L"[#FF0000 s5]x[s5]y[]z"},
        {L"<BIG>x</BIG>", L"[s4]x"},
        {L"<FONT SIZE=4><BIG>x", L"[s5]x"},
        {L"<small>x</small>", L"[s2]x"},
        {L"<font size=7><big>x", L"[s7]x"},
        {L"<font size=1><small>x", L"[s1]x"},
        {L"<big><big><font size=2>x", L"[s2]x"},
    });
}

TEST(HtmlReader, BlanksCollapseAsInABrowser) {
    ExpectRuns({
        {L"  a \n\t b  ", L"a b"},
        {L"a<BR> b", L"a|b"},
        {L"a <BR>b", L"a|b"},
        {L"<b>a </b> b", L"[b]a []b"},
        {L"a<b> b</b>", L"a[b] b"},
        {L"a&nbsp;&nbsp;b", L"a~~b"},
        {L"&nbsp; a", L"~ a"},
        {L"a\x01\x1F"
         L"b",
         L"ab"},
        {L"<table><tr><td>a</td><td>b</td></tr></table>", L"a b"},
    });
}

TEST(HtmlReader, LineAndParagraphBreaks) {
    ExpectRuns({
        {L"a<BR>b", L"a|b"},
        {L"a<br/>b<br />c</br>d", L"a|b|c|d"},
        {L"<BR>a", L"|a"},
        {L"a<BR>", L"a"},
        {L"a<BR><BR>", L"a|"},
        {L"a<P>b</P>c", L"a||b||c"},
        {L"<P>a</P><P>b</P>", L"a||b"},
        {L"a<BR><P>b", L"a||b"},
        {L"a<div>b</div>c", L"a|b|c"},
        {L"a<div><div>b</div></div>", L"a|b"},
        {L"<ul><li>a<li> b</ul>c", L"\x2022 a|\x2022 b||c"},
        {L"<h1>T</h1>x", L"[b s6]T||[]x"},
        {L"<h3>T</h3>", L"[b s4]T"},
        {L"x<pre>a  b\r\n\tc</pre>y", L"x||a  b|\tc||y"},
        {L"<pre>\n a</pre>", L" a"},
        {L"<pre>a&#10;b</pre>", L"a|b"},
    });
}

TEST(HtmlReader, EntitiesAreDecoded) {
    ExpectRuns({
        {L"&lt;b&gt; &amp; &quot;x&quot; &apos;", L"<b> & \"x\" '"},
        {L"&#1241;&#x4E9;&#X4af;", L"\x04D9\x04E9\x04AF"},
        {L"&#65&#x42;", L"AB"},
        {L"&#x1F600;", L"\xD83D\xDE00"},
        {L"&#0;&#xD800;&#99999999999999;", L"\xFFFD\xFFFD\xFFFD"},
        {L"&#150;&#128;", L"\x2013\x20AC"},
        {L"a&#32;&#32;b", L"a b"},
        {L"&laquo;&copy;&raquo; &mdash;", L"\x00AB\x00A9\x00BB \x2014"},
        {L"&lt", L"<"},
        {L"&LT;&Lt;", L"<&Lt;"},
    });
}

TEST(HtmlReader, StrayAmpersandsStayText) {
    ExpectRuns({
        {L"a & b", L"a & b"},
        {L"a&b", L"a&b"},
        {L"&unknown;", L"&unknown;"},
        {L"&", L"&"},
        {L"&#", L"&#"},
        {L"&#x", L"&#x"},
        {L"&#;", L"&#;"},
        {L"&#xg;", L"&#xg;"},
        {L"&&amp;", L"&&"},
    });
}

TEST(HtmlReader, MarkupThatShowsNothing) {
    ExpectRuns({
        {L"a<!-- <b>no</b> -->b", L"ab"},
        {L"a<!DOCTYPE html>b<?xml x?>c", L"abc"},
        {L"<HTML><HEAD><TITLE>T</TITLE><META name=x></HEAD><BODY>b</BODY></HTML>", L"b"},
        {L"<head><title>t</title><body>b", L"b"},
        {L"<head>dropped</head>shown", L"shown"},
        {L"a<script>if (a<b) x = '</b>';</script>b", L"ab"},
        {L"<STYLE>p { color: red }</style>x", L"x"},
        {L"a</>b", L"ab"},
    });
}

TEST(HtmlReader, UnterminatedMarkupEndsTheText) {
    ExpectRuns({
        {L"a<b", L"a"},
        {L"a<font color=\"red>x", L"a"},
        {L"a<font color=", L"a"},
        {L"a</b", L"a"},
        {L"a<!-- b", L"a"},
        {L"a<title>never closed", L"a"},
        {L"a<", L"a<"},
        {L"a < b", L"a < b"},
        {L"a<1", L"a<1"},
        {L"<font color=\">\" size=5>x", L"[s5]x"},
    });
}

TEST(HtmlReader, MisnestedTagsCloseTheNearestOpenOne) {
    ExpectRuns({
        {L"<b>1<i>2</b>3</i>4", L"[b]1[b i]2[i]3[]4"},
        {L"<u>a<b>b</u>c</b>d", L"[u]a[b u]b[b]c[]d"},
        {L"a</b></FONT></i>b", L"ab"},
        {L"<font color=red><b>x</font>y</b>z", L"[b #FF0000]x[b]y[]z"},
        {L"<font size=5><font size=2>x</font>y", L"[s2]x[s5]y"},
        {L"<font size=5><big>x</font>y</big>z", L"[s6]x[s4]y[]z"},
    });
}

// The form and its affixes as the paradigm generator writes them: BIG is opened on every line
// and closed once.
TEST(HtmlReader, ParadigmForms) {
    const std::wstring indent = L"<BR>&nbsp;&nbsp;&nbsp;&nbsp;";
    std::wstring html = L"<HTML><STRONG><FONT COLOR=\"#0000FF\" SIZE=5>китапларым" + indent +
                        L"</STRONG></FONT><FONT COLOR=\"#0000AA\" SIZE=4><BIG>китап/лар/ым" + indent +
                        L"</FONT><FONT SIZE=4><BIG></FONT>";
    for (const auto& [affix, name] : {std::pair(L"лар", L"күплек сан"), std::pair(L"ым", L"1 зат")}) {
        html += L"<FONT COLOR=\"#0000AA\" SIZE=4><BIG>" + std::wstring(affix) + L"</FONT><FONT SIZE=4><BIG>" + L" - " +
                name + indent;
    }
    html += L"</BIG></FONT></HTML>";
    ExpectRuns({
        {html.c_str(), L"[b #0000FF s5]китапларым|~~~~[#0000AA s5]китап/лар/ым|~~~~лар[s5] - күплек сан|~~~~"
                       L"[#0000AA s5]ым[s5] - 1 зат|~~~~"},
        {L"<HTML><STRONG><FONT COLOR=\"#0000FF\" SIZE=5>китап</STRONG></BIG></FONT></HTML>", L"[b #0000FF s5]китап"},
    });
}

// An article as the headword list writes it, its mark-up turned into tags with a blank before each.
TEST(HtmlReader, Articles) {
    ExpectRuns({
        {L"<HTML><STRONG><FONT COLOR=\"#0000FF\" SIZE=5>сүз<BR></FONT></STRONG><FONT SIZE=4><BIG> 1. x <U>y "
         L"</U>z <I>кит.</I> <B>&lt;a&amp;b&gt;</B></BIG></FONT></HTML>",
         L"[b #0000FF s5]сүз|[s5]1. x [u s5]y [s5]z [i s5]кит.[s5] [b s5]<a&b>"},
    });
}

TEST(HtmlReader, BreaksTakeTheSizeOfTheirLine) {
    const std::vector<THtmlRun> runs = ReadHtml(L"<font size=6>a<br></font>b<p>c");
    ASSERT_EQ(runs.size(), 6u);
    EXPECT_TRUE(runs[1].LineBreak);
    EXPECT_EQ(runs[1].Style.Size, 6);
    EXPECT_TRUE(runs[3].LineBreak && runs[4].LineBreak);
    EXPECT_EQ(runs[3].Style.Size, kHtmlNormalSize);
    EXPECT_EQ(runs[4].Style.Size, kHtmlNormalSize);
}

TEST(HtmlReader, HelpPage) {
    const std::wstring html = ReadTestFile("help_page.htm");
    const std::wstring expected = ReadTestFile("help_page.runs");
    ASSERT_FALSE(html.empty());
    std::wstring actual;
    for (const wchar_t c : DescribeRuns(ReadHtml(html))) {
        actual += c;
        if (c == L'|') {
            actual += L'\n';
        }
    }
    EXPECT_EQ(actual + L'\n', expected);
}

// Every cut of the pages holds well-formed runs: truncated tags, references and comments.
TEST(HtmlReader, EveryTruncationReadsWithinTheText) {
    const std::wstring page = ReadTestFile("help_page.htm");
    ASSERT_FALSE(page.empty());
    for (size_t length = 0; length <= page.size(); ++length) {
        ExpectWellFormed(ReadHtml(std::wstring_view(page.data(), length)), length);
    }
}

TEST(HtmlReader, DeepNestingStaysCheap) {
    const int depth = 100000;
    std::wstring html;
    for (int k = 0; k < depth; ++k) {
        html += L"<b>";
    }
    html += L"x";
    for (int k = 0; k < depth; ++k) {
        html += L"</b>";
    }
    EXPECT_EQ(DescribeRuns(ReadHtml(html + L"y")), L"[b]x[]y");

    std::wstring crossed;
    for (int k = 0; k < depth; ++k) {
        crossed += L"<i><font size=+1><b></i>x</font>";
    }
    const std::vector<THtmlRun> runs = ReadHtml(crossed);
    ExpectWellFormed(runs, crossed.size());
    ASSERT_FALSE(runs.empty());
    EXPECT_TRUE(runs.back().Style.Bold);
    EXPECT_FALSE(runs.back().Style.Italic);
}

} // namespace
