#include "main/GP_Layout.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "display/win32/Dpi.h"
#include "tests/main/GPTestSupport.h"

namespace {

using C = TGP_Control;

std::wstring TextOf(HWND window) {
    wchar_t text[128] = {};
    GetWindowTextW(window, text, 128);
    return text;
}

RECT BoundsInParent(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<uint8_t> Codes(C group) {
    std::vector<uint8_t> codes;
    for (size_t i = 0; i < GP_ControlCount; ++i) {
        if (GP_Controls[i].Parent == group && GP_Controls[i].Kind == TGP_Kind::RadioButton) {
            codes.push_back(GP_Controls[i].Code);
        }
    }
    return codes;
}

} // namespace

TEST(GP_Layout, CountsOfRowsAndButtons) {
    EXPECT_EQ(GP_ControlCount, 65u);
    const std::map<C, std::vector<uint8_t>> codes = {
        {C::GB_Main, {1, 2, 4, 8}},
        {C::GB_Nouns_Pad, {1, 2, 3, 4, 5, 6}},
        {C::GB_Nouns_Face, {0, 1, 2, 3}},
        {C::GB_Nouns_Num, {1, 2}},
        {C::GB_Adj, {1, 2}},
        {C::GB_Dig_Pad, {1, 2, 3, 4, 5, 6}},
        {C::GB_Dig_Kind, {1, 2, 3, 4, 5}},
        {C::GB_Verb_Kind, {1, 2, 3, 4, 5}},
        {C::GB_Verb_Time, {1, 2, 3, 4, 5}},
        {C::GB_Verb_Face, {1, 2, 3}},
        {C::GB_Verb_Num, {1, 2}},
    };
    size_t radios = 0;
    for (const auto& [group, expected] : codes) {
        EXPECT_EQ(Codes(group), expected) << static_cast<int>(group);
        radios += expected.size();
    }
    EXPECT_EQ(radios, 44u);
}

TEST(GP_Layout, EveryRowOnceAndEveryParentBeforeItsChildren) {
    std::map<C, size_t> seen;
    for (size_t i = 0; i < GP_ControlCount; ++i) {
        const TGP_ControlRow& row = GP_Controls[i];
        EXPECT_EQ(seen.count(row.Id), 0u) << static_cast<int>(row.Id);
        EXPECT_TRUE(row.Parent == C::Form || seen.count(row.Parent) == 1) << static_cast<int>(row.Id);
        seen[row.Id] = i;
        EXPECT_EQ(&GP_Row(row.Id), &row);
    }
}

TEST(GP_Layout, TagsOfTheNumeralCasesAndVerbKinds) {
    for (size_t i = 0; i < GP_ControlCount; ++i) {
        const TGP_ControlRow& row = GP_Controls[i];
        const bool tagged = row.Parent == C::GB_Dig_Pad || row.Parent == C::GB_Verb_Kind;
        EXPECT_EQ(row.Tag, tagged && row.Kind == TGP_Kind::RadioButton ? row.Code : 0) << static_cast<int>(row.Id);
    }
}

TEST(GP_Layout, SampleCaptionsAndBounds) {
    struct TSample {
        C Id;
        const wchar_t* Tatar;
        const wchar_t* Russian;
    };
    const TSample captions[] = {
        {C::GB_Main, L"Сүз төркеме", L"Часть речи"},
        {C::NounsFace_Tret, L"Өченче зат", L"3- е лицо"},
        {C::VerbFace_Tret, L"Өченче зат", L"3 - е лицо"},
        {C::GB_Adj, L"Чагыштыру дәрәҗәләре", L"Степени сравнения"},
        {C::DigKind_Coll, L"Җыю саны", L"Собирательное"},
        {C::VerbTime_PastDef, L"Үткән категорик", L"Прошедшее категорическое"},
        {C::VerbAbsent, L"Инкяр", L"Отрицание"},
        {C::lblBase, L"Нигез", L"Основа:"},
        {C::btnClose, L"Ябу", L"Закрыть"},
    };
    for (const TSample& s : captions) {
        EXPECT_STREQ(GP_Row(s.Id).Caption[langTatar], s.Tatar);
        EXPECT_STREQ(GP_Row(s.Id).Caption[langRussian], s.Russian);
    }
    struct TBoundsSample {
        C Id;
        TGP_Bounds Tatar;
        TGP_Bounds Russian;
    };
    const TBoundsSample bounds[] = {
        {C::NounsPanel, {202, 13, 479, 177}, {202, 13, 431, 177}},
        {C::GB_Adj, {11, 8, 177, 89}, {8, 6, 177, 89}},
        {C::DigPanel, {202, 13, 417, 177}, {203, 13, 417, 177}},
        {C::GB_Verb_Face, {310, 6, 139, 160}, {374, 6, 123, 160}},
        {C::GB_Verb_Num, {447, 6, 130, 160}, {495, 6, 81, 160}},
        {C::TB, {16, 192, 777, 150}, {16, 192, 777, 150}},
    };
    for (const TBoundsSample& s : bounds) {
        for (TLanguage language : {langTatar, langRussian}) {
            const TGP_Bounds expected = language == langTatar ? s.Tatar : s.Russian;
            const TGP_Bounds& b = GP_Row(s.Id).Bounds[language];
            EXPECT_EQ(std::vector<int>({b.Left, b.Top, b.Width, b.Height}),
                      std::vector<int>({expected.Left, expected.Top, expected.Width, expected.Height}))
                << static_cast<int>(s.Id) << " " << language;
        }
    }
    EXPECT_STREQ(GP_Windows[langTatar].Caption, L"Парадигма генераторы");
    EXPECT_STREQ(GP_Windows[langRussian].Caption, L"Генератор парадигмы");
}

// ---- the windows made from the table -----------------------------------------------------------

TEST(GP_Windows, EachWindowHasTheCaptionsOfItsLanguage) {
    for (TLanguage language : {langTatar, langRussian}) {
        TGP_Form form(language);
        EXPECT_EQ(form.Caption(), GP_Windows[language].Caption);
        for (size_t i = 0; i < GP_ControlCount; ++i) {
            const TGP_ControlRow& row = GP_Controls[i];
            if (row.Kind != TGP_Kind::Edit && row.Kind != TGP_Kind::Browser) {
                EXPECT_EQ(TextOf(form.Control(row.Id)), row.Caption[language]) << static_cast<int>(row.Id);
            }
        }
        EXPECT_EQ(form.PM().Count(), 2);
        EXPECT_EQ(form.PM()[0].Caption, language == langTatar ? L"Күчерме ясау" : L"Копировать");
        EXPECT_EQ(form.PM()[1].Caption, language == langTatar ? L"Бөтенесен билгеләү" : L"Выделить всё");
    }
}

TEST(GP_Windows, TheTatarWindowsEditMenuIsTatarAndTheRussianOneKeepsItsOwn) {
    TGP_Form tatar(langTatar);
    TGP_Form russian(langRussian);
    const TMenuList& tatarMenu = *tatar.edBase().ContextMenuList;
    const TMenuList& russianMenu = *russian.edBase().ContextMenuList;
    const std::vector<std::wstring> tatarTexts = {L"Кире кагу",         L"Тергезү", L"-",        L"Кисеп алу",
                                                  L"Күчерме ясау",      L"Кертү",   L"Чистарту", L"-",
                                                  L"Бөтенесен билгеләү"};
    const std::vector<std::wstring> russianTexts = {L"Отменить", L"Восстановить", L"-", L"Вырезать",    L"Копировать",
                                                    L"Вставить", L"Очистить",     L"-", L"Выделить всё"};
    ASSERT_EQ(tatarMenu.Count(), 9);
    ASSERT_EQ(russianMenu.Count(), 9);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(tatarMenu[i].Caption, tatarTexts[i]) << i;
        EXPECT_EQ(russianMenu[i].Caption, russianTexts[i]) << i;
    }
}

// The table's bounds are design units: scaled by the form font, grown and moved right or down
// only where a caption needs it.
TUnitScale FormScale() {
    TUnitScale scale;
    scale.Units = MeasureFontUnits(FormFont(SystemDpi()));
    return scale;
}

TEST(GP_Windows, BoundsOfTheControlsInEachWindow) {
    const TUnitScale scale = FormScale();
    for (TLanguage language : {langTatar, langRussian}) {
        TGP_Form form(language);
        for (size_t i = 0; i < GP_ControlCount; ++i) {
            const TGP_ControlRow& row = GP_Controls[i];
            const RECT r = BoundsInParent(form.Control(row.Id));
            if (row.Kind == TGP_Kind::RadioButton) {
                continue;
            }
            const TGP_Bounds& b = row.Bounds[language];
            const std::string id = std::to_string(static_cast<int>(row.Id)) + " " + std::to_string(language);
            EXPECT_GE(r.left, scale.X(b.Left)) << id;
            EXPECT_EQ(r.top, scale.Y(b.Top)) << id;
            EXPECT_GE(r.right - r.left, scale.X(b.Left + b.Width) - scale.X(b.Left)) << id;
            EXPECT_EQ(r.bottom - r.top, scale.Y(b.Top + b.Height) - scale.Y(b.Top)) << id;
        }
    }
}

TEST(GP_Windows, RadioButtonsStandInColumnsAsWideAsTheirCaptions) {
    TGP_Form form(langRussian);
    std::map<C, int> place;
    for (size_t i = 0; i < GP_ControlCount; ++i) {
        const TGP_ControlRow& row = GP_Controls[i];
        if (row.Kind != TGP_Kind::RadioButton) {
            continue;
        }
        const int k = place[row.Parent]++;
        const HWND button = form.Control(row.Id);
        EXPECT_EQ(GetParent(button), form.Control(row.Parent));
        const RECT r = BoundsInParent(button);
        const TUnitScale scale = FormScale();
        const int top = 24 + 20 * k;
        EXPECT_EQ(std::vector<long>({r.left, r.top, r.bottom - r.top}),
                  std::vector<long>({scale.X(8), scale.Y(top), scale.Y(top + 17) - scale.Y(top)}))
            << static_cast<int>(row.Id);
        const HDC dc = GetDC(button);
        const HGDIOBJ old = SelectObject(dc, GroupFont(SystemDpi()));
        SIZE text = {};
        GetTextExtentPoint32W(dc, row.Caption[langRussian], static_cast<int>(wcslen(row.Caption[langRussian])), &text);
        SelectObject(dc, old);
        ReleaseDC(button, dc);
        EXPECT_GT(r.right - r.left, text.cx) << static_cast<int>(row.Id);
        EXPECT_LT(r.right - r.left, text.cx + 40) << static_cast<int>(row.Id);
    }
}

TEST(GP_Windows, ClientSizesAndTheTatarWindowOpensMaximized) {
    TGP_Form russian(langRussian);
    TGP_Form tatar(langTatar);
    RECT client = {};
    GetClientRect(russian.Handle(), &client);
    const TUnitScale scale = FormScale();
    EXPECT_GE(client.right, scale.X(792));
    EXPECT_GE(client.bottom, scale.Y(407));
    EXPECT_FALSE(IsZoomed(russian.Handle()));
    EXPECT_TRUE(IsZoomed(tatar.Handle()));
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(tatar.Handle(), &placement);
    RECT frame = {0, 0, scale.X(800), scale.Y(407)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(tatar.Handle(), GWL_STYLE)) & ~WS_MAXIMIZE, FALSE,
                       0);
    EXPECT_GE(placement.rcNormalPosition.right - placement.rcNormalPosition.left, frame.right - frame.left);
    EXPECT_GE(placement.rcNormalPosition.bottom - placement.rcNormalPosition.top, frame.bottom - frame.top);
}
