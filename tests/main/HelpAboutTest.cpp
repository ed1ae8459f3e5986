#include "main/About.h"
#include "main/Help.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>

#include "core/Exceptions.h"
#include "core/SysUtils_Qel.h"
#include "core/Translator.h"
#include "main/InterfaceStrings.h"
#include "main/html/HtmlReader.h"
#include "tests/main/ControlsTestSupport.h"
#include "tests/main/MainTestSupport.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestCustoms.h"

namespace {

std::vector<unsigned char> Utf16File(const std::wstring& text) {
    std::vector<unsigned char> bytes = {0xFF, 0xFE};
    for (const wchar_t c : text) {
        bytes.push_back(static_cast<unsigned char>(c & 0xFF));
        bytes.push_back(static_cast<unsigned char>(c >> 8));
    }
    return bytes;
}

std::vector<char> ReadBytes(const std::wstring& name) {
    std::ifstream in(name.c_str(), std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

// The text a page shows.
std::wstring PageText(const std::wstring& html) {
    std::wstring text;
    for (const THtmlRun& run : ReadHtml(html)) {
        text += run.LineBreak ? L"\n" : run.Text;
    }
    return text;
}

// A help page in the tests' program folder for the life of the object.
class THelpPage {
public:
    THelpPage(int language, const std::string& bytes) : path_(GetProgramFolder() + HelpFileName(language)) {
        std::ofstream(path_.c_str(), std::ios::binary) << bytes;
    }
    ~THelpPage() { DeleteFileW(path_.c_str()); }

private:
    std::wstring path_;
};

TEST(Help, PagesAreReadAsCodePage1251WithCharacterReferences) {
    EXPECT_EQ(DecodeHelpPage({'\xCF', '\xF0', 'x'}), L"Прx");
    EXPECT_EQ(DecodeHelpPage({}), L"");
    // The built pages: Tatar letters come through their references, nothing is lost.
    for (const int language : {0, 1}) {
        const std::wstring text = PageText(DecodeHelpPage(ReadBytes(BuiltFolder() + HelpFileName(language))));
        EXPECT_NE(text.find(L"ТИРЕЛ"), std::wstring::npos);
        EXPECT_NE(text.find(L"Ctrl+F12"), std::wstring::npos);
        EXPECT_EQ(text.find(L'?'), std::wstring::npos);
        EXPECT_EQ(text.find(L'&'), std::wstring::npos);
        const bool tatar = text.find(L'ә') != std::wstring::npos;
        EXPECT_EQ(tatar, language == 0);
    }
}

TEST(Help, ShowsThePageOfTheLanguage) {
    TTestCustoms customs;
    TForm6 form;
    const THelpPage tatar(0, "<b>\xD2\xE0\xF2</b> &#1241;");
    const THelpPage russian(1, "<i>\xD0\xF3\xF1</i>");
    struct Case {
        int Language;
        const wchar_t* Text;
    } cases[] = {{0, L"Тат ә"}, {1, L"Рус"}};
    for (const Case& c : cases) {
        PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
        form.ShowHelp(c.Language);
        EXPECT_EQ(form.TB.Text(), c.Text);
    }
}

// The report names the file in the interface language, not with the system's English text.
TEST(HelpAndAbout, AMissingFileIsReportedInTheInterfaceLanguageAndNothingShows) {
    TTestCustoms customs;
    TempFolder folder;
    const TWorkingFolder working(folder.Path());
    TForm6 help;
    TForm7 about;
    const struct {
        int Language;
        const wchar_t* Before;
        const wchar_t* After;
    } cases[] = {{0, L"\"", L"\" файлын ачып булмады"}, {1, L"Не удалось открыть файл \"", L"\""}};
    for (const auto& c : cases) {
        customs->UILanguage = static_cast<uint8_t>(c.Language);
        DeleteFileW((GetProgramFolder() + HelpFileName(c.Language)).c_str());
        // The main window reads the paradigm table the same way.
        const std::function<void()> commands[] = {[&] { help.ShowHelp(c.Language); },
                                                  [&] { about.ShowAbout(c.Language); },
                                                  [] { OpeningFiles([] { CreateParadigmTable(); }); }};
        const std::wstring names[] = {HelpFileName(c.Language), AboutFileName(c.Language), L"recip_para.rtb"};
        for (int k = 0; k < 3; ++k) {
            try {
                commands[k]();
                ADD_FAILURE() << "no error";
            } catch (const EFOpenError& error) {
                const std::wstring& file = error.FileName();
                ASSERT_GE(file.size(), names[k].size());
                EXPECT_EQ(file.substr(file.size() - names[k].size()), names[k]);
                EXPECT_EQ(error.Message(), c.Before + file + c.After);
            }
        }
        EXPECT_FALSE(help.Showing());
        EXPECT_FALSE(about.Showing());
    }
}

TEST(About, FieldsComeFromTheSectionsAndMissingOnesStayEmpty) {
    struct Case {
        const wchar_t* File;
        TAboutTexts Expected;
    } cases[] = {
        {L"[about]\nline 1\n\nline 3\n[copyright]\n(c) us\nmore\n[E-Mail]\na@b.c\n[www]\nhttp://x.y\n",
         {L"line 1\r\n\r\nline 3", L"(c) us", L"a@b.c", L"http://x.y"}},
        {L"[about]\n[copyright]\n[e-mail]\n[www]\n", {L"", L"", L"", L""}},
        {L"intro\n[www]\nhttps://z\n", {L"", L"", L"", L"https://z"}},
        {L"", {L"", L"", L"", L""}},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        folder.Write(L"about.dat", Utf16File(c.File));
        TSectionList sections;
        sections.LoadFromFile(folder.File(L"about.dat"));
        const TAboutTexts texts = AboutTexts(sections);
        EXPECT_EQ(texts.About, c.Expected.About);
        EXPECT_EQ(texts.Copyright, c.Expected.Copyright);
        EXPECT_EQ(texts.EMail, c.Expected.EMail);
        EXPECT_EQ(texts.Www, c.Expected.Www);
    }
}

TEST(About, OnlyWebAndMailAddressesAreOpened) {
    struct Case {
        const wchar_t* Address;
        bool Opened;
    } cases[] = {
        {L"http://example.org", true},
        {L"HTTPS://example.org/a", true},
        {L"mailto:a@b.c", true},
        {L"mailto:", false},
        {L"file:///C:/x.exe", false},
        {L"C:\\Windows\\notepad.exe", false},
        {L"javascript:alert(1)", false},
        {L"", false},
        {L"http:/x", false},
    };
    std::vector<std::wstring> opened;
    const TAddressOpener previous = SetAddressOpener([&](const std::wstring& address) { opened.push_back(address); });
    for (const Case& c : cases) {
        opened.clear();
        EXPECT_EQ(OpenAddress(c.Address), c.Opened) << static_cast<int>(wcslen(c.Address));
        EXPECT_EQ(opened.size(), c.Opened ? 1u : 0u);
    }
    SetAddressOpener(previous);
}

TEST(About, TheBoxShowsTheFileOfTheLanguageAndOpensItsAddresses) {
    TempFolder folder;
    folder.Write(L"tirel_abt.dat", Utf16File(L"[about]\nсүзлек\nике\n[copyright]\n© без\n[e-mail]\nbez@example.org\n"
                                             L"[www]\nhttps://example.org\n"));
    const TWorkingFolder working(folder.Path());
    TForm7 form;
    PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
    form.ShowAbout(0);
    EXPECT_EQ(WindowText(form.lbAbout), L"сүзлек\r\nике");
    EXPECT_EQ(WindowText(form.lbCopyright), L"© без");
    EXPECT_EQ(form.edEmail->Text(), L"bez@example.org");
    EXPECT_EQ(form.edHTTP->Text(), L"https://example.org");
    std::vector<std::wstring> opened;
    const TAddressOpener previous = SetAddressOpener([&](const std::wstring& address) { opened.push_back(address); });
    ClickMouse(form.edHTTP->Handle(), {5, 5}, false);
    ClickMouse(form.edEmail->Handle(), {5, 5}, false);
    SetAddressOpener(previous);
    EXPECT_EQ(opened, (std::vector<std::wstring>{L"https://example.org", L"mailto:bez@example.org"}));
    // The Russian file is not there: the command ends with the file error.
    EXPECT_THROW(form.ShowAbout(1), EFOpenError);
}

TEST(About, TheBuiltTextsHaveEveryField) {
    for (const int language : {0, 1}) {
        TSectionList sections;
        sections.LoadFromFile(BuiltFolder() + AboutFileName(language));
        const TAboutTexts texts = AboutTexts(sections);
        EXPECT_NE(texts.About.find(L"ТИРЕЛ"), std::wstring::npos);
        EXPECT_FALSE(texts.Copyright.empty());
        EXPECT_NE(texts.EMail.find(L'@'), std::wstring::npos);
        EXPECT_TRUE(IsOpenableAddress(texts.Www));
        EXPECT_TRUE(IsOpenableAddress(L"mailto:" + texts.EMail));
    }
}

} // namespace
