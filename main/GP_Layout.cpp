#include "main/GP_Layout.h"

#include <algorithm>
#include <iterator>

#include "core/Exceptions.h"

namespace {

using C = TGP_Control;
using K = TGP_Kind;

constexpr TGP_ControlRow Panel(C id, TGP_Bounds tatar, TGP_Bounds russian, bool visible = false) {
    return {id, K::Panel, C::Form, {tatar, russian}, {L"", L""}, 0, 0, false, visible};
}

constexpr TGP_ControlRow Group(C id, C parent, TGP_Bounds tatar, TGP_Bounds russian, const wchar_t* tatarCaption,
                               const wchar_t* russianCaption) {
    return {id, K::GroupBox, parent, {tatar, russian}, {tatarCaption, russianCaption}, 0, 0, false, true};
}

constexpr TGP_ControlRow Radio(C id, C group, uint8_t code, const wchar_t* tatarCaption, const wchar_t* russianCaption,
                               bool checked = false, uint8_t tag = 0) {
    return {id, K::RadioButton, group, {}, {tatarCaption, russianCaption}, code, tag, checked, true};
}

constexpr TGP_ControlRow Plain(C id, K kind, C parent, TGP_Bounds tatar, TGP_Bounds russian,
                               const wchar_t* tatarCaption = L"", const wchar_t* russianCaption = L"") {
    return {id, kind, parent, {tatar, russian}, {tatarCaption, russianCaption}, 0, 0, false, true};
}

// The case names of nouns and numerals.
constexpr const wchar_t* kCase[6][kLanguageCount] = {
    {L"Төп", L"Основной"},      {L"Иялек", L"Притяжательный"}, {L"Юнәлеш", L"Направительный"},
    {L"Төшем", L"Винительный"}, {L"Чыгыш", L"Исходный"},       {L"Урын-вакыт", L"Местно-временной"},
};

} // namespace

const TGP_ControlRow GP_Controls[] = {
    Panel(C::MainPanel, {17, 13, 185, 177}, {17, 13, 185, 177}, true),
    Group(C::GB_Main, C::MainPanel, {8, 6, 169, 113}, {8, 6, 169, 113}, L"Сүз төркеме", L"Часть речи"),
    Radio(C::GB_Main_Nouns, C::GB_Main, 1, L"Исем", L"Существительное", true),
    Radio(C::GB_Main_Adj, C::GB_Main, 2, L"Сыйфат", L"Прилагательное"),
    Radio(C::GB_Main_Dig, C::GB_Main, 4, L"Сан", L"Числительное"),
    Radio(C::GB_Main_Verb, C::GB_Main, 8, L"Фигыль", L"Глагол"),
    Plain(C::lblBase, K::Label, C::MainPanel, {8, 128, 49, 17}, {8, 128, 49, 17}, L"Нигез", L"Основа:"),
    Plain(C::edBase, K::Edit, C::MainPanel, {8, 148, 169, 21}, {8, 148, 169, 21}),

    Panel(C::NounsPanel, {202, 13, 479, 177}, {202, 13, 431, 177}, true),
    Group(C::GB_Nouns_Pad, C::NounsPanel, {8, 6, 177, 160}, {8, 6, 177, 160}, L"Килеш", L"Падеж"),
    Radio(C::NounsPad_Base, C::GB_Nouns_Pad, 1, kCase[0][0], kCase[0][1], true),
    Radio(C::NounsPad_Face, C::GB_Nouns_Pad, 2, kCase[1][0], kCase[1][1]),
    Radio(C::NounsPad_Dir, C::GB_Nouns_Pad, 3, kCase[2][0], kCase[2][1]),
    Radio(C::NounsPad_Vin, C::GB_Nouns_Pad, 4, kCase[3][0], kCase[3][1]),
    Radio(C::NounsPad_Sour, C::GB_Nouns_Pad, 5, kCase[4][0], kCase[4][1]),
    Radio(C::NounsPad_Time, C::GB_Nouns_Pad, 6, kCase[5][0], kCase[5][1]),
    Group(C::GB_Nouns_Face, C::NounsPanel, {184, 6, 161, 160}, {184, 6, 161, 160}, L"Иялек", L"Притяжательность"),
    Radio(C::NounsFace_Undef, C::GB_Nouns_Face, 0, L"Аныксыз", L"Неопределенная", true),
    Radio(C::NounsFace_Prim, C::GB_Nouns_Face, 1, L"Беренче зат", L"1 - е лицо"),
    Radio(C::NounsFace_Sec, C::GB_Nouns_Face, 2, L"Икенче зат", L"2 - е лицо"),
    Radio(C::NounsFace_Tret, C::GB_Nouns_Face, 3, L"Өченче зат", L"3- е лицо"),
    Group(C::GB_Nouns_Num, C::NounsPanel, {344, 6, 129, 160}, {344, 6, 75, 160}, L"Сан", L"Число"),
    Radio(C::NounsNum_Single, C::GB_Nouns_Num, 1, L"Берлек саны", L"Ед. ч.", true),
    Radio(C::NounsNum_Plural, C::GB_Nouns_Num, 2, L"Күплек сан", L"Мн. ч."),

    Panel(C::AdjPanel, {202, 12, 198, 177}, {202, 12, 198, 177}),
    Group(C::GB_Adj, C::AdjPanel, {11, 8, 177, 89}, {8, 6, 177, 89}, L"Чагыштыру дәрәҗәләре", L"Степени сравнения"),
    Radio(C::Adj_Base, C::GB_Adj, 1, L"Төп", L"Основная", true),
    Radio(C::Adj_Compare, C::GB_Adj, 2, L"Чагыштырма", L"Сравнительная"),

    Panel(C::DigPanel, {202, 13, 417, 177}, {203, 13, 417, 177}),
    Group(C::GB_Dig_Pad, C::DigPanel, {8, 6, 201, 160}, {8, 6, 201, 160}, L"Килеш", L"Падеж"),
    Radio(C::DigPad_Base, C::GB_Dig_Pad, 1, kCase[0][0], kCase[0][1], true, 1),
    Radio(C::DigPad_Face, C::GB_Dig_Pad, 2, kCase[1][0], kCase[1][1], false, 2),
    Radio(C::DigPad_Dir, C::GB_Dig_Pad, 3, kCase[2][0], kCase[2][1], false, 3),
    Radio(C::DigPad_Vin, C::GB_Dig_Pad, 4, kCase[3][0], kCase[3][1], false, 4),
    Radio(C::DigPad_Sour, C::GB_Dig_Pad, 5, kCase[4][0], kCase[4][1], false, 5),
    Radio(C::DigPad_Time, C::GB_Dig_Pad, 6, kCase[5][0], kCase[5][1], false, 6),
    Group(C::GB_Dig_Kind, C::DigPanel, {207, 6, 201, 160}, {207, 6, 201, 160}, L"Категория", L"Категория"),
    Radio(C::DigKind_Count, C::GB_Dig_Kind, 1, L"Төп сан", L"Количественное", true),
    Radio(C::DigKind_Num, C::GB_Dig_Kind, 2, L"Тәртип саны", L"Порядковое"),
    Radio(C::DigKind_Aprox, C::GB_Dig_Kind, 3, L"Чама саны", L"Приблизительное"),
    Radio(C::DigKind_Coll, C::GB_Dig_Kind, 4, L"Җыю саны", L"Собирательное"),
    Radio(C::DigKind_Sep, C::GB_Dig_Kind, 5, L"Бүлем саны", L"Разделительное"),

    Panel(C::VerbPanel, {202, 13, 591, 177}, {202, 13, 593, 177}),
    Group(C::GB_Verb_Kind, C::VerbPanel, {8, 6, 145, 160}, {8, 6, 145, 160}, L"Категория", L"Категория"),
    Radio(C::VerbKind_Infinitive, C::GB_Verb_Kind, 1, L"Инфинитив", L"Инфинитив", true, 1),
    Radio(C::VerbKind_NameAction, C::GB_Verb_Kind, 2, L"Исем фигыль", L"Имя действия", false, 2),
    Radio(C::VerbKind_Stimulate, C::GB_Verb_Kind, 3, L"Кузгаткыч", L"Побудительный", false, 3),
    Radio(C::VerbKind_Condition, C::GB_Verb_Kind, 4, L"Шарт", L"Условный", false, 4),
    Radio(C::VerbKind_Appear, C::GB_Verb_Kind, 5, L"Хикәя", L"Изъявительный", false, 5),
    Plain(C::VerbAbsent, K::CheckBox, C::GB_Verb_Kind, {25, 127, 112, 24}, {25, 127, 101, 24}, L"Инкяр", L"Отрицание"),
    Group(C::GB_Verb_Time, C::VerbPanel, {151, 6, 162, 160}, {151, 6, 225, 160}, L"Заман", L"Время"),
    Radio(C::VerbTime_Present, C::GB_Verb_Time, 1, L"Хәзереге", L"Настоящее"),
    Radio(C::VerbTime_PastDef, C::GB_Verb_Time, 2, L"Үткән категорик", L"Прошедшее категорическое"),
    Radio(C::VerbTime_PastUnDef, C::GB_Verb_Time, 3, L"Үткән билгесез", L"Прошедшее неопределенное"),
    Radio(C::VerbTime_FutureDef, C::GB_Verb_Time, 4, L"Киләчәк билгеле", L"Будущее определенное"),
    Radio(C::VerbTime_FutureUndef, C::GB_Verb_Time, 5, L"Киләчәк билгесез", L"Будущее неопределенное"),
    Group(C::GB_Verb_Face, C::VerbPanel, {310, 6, 139, 160}, {374, 6, 123, 160}, L"Төрләнеш", L"Спряжение"),
    Radio(C::VerbFace_Prim, C::GB_Verb_Face, 1, L"Беренче зат", L"1 - е лицо"),
    Radio(C::VerbFace_Sec, C::GB_Verb_Face, 2, L"Икенче зат", L"2 - е лицо"),
    Radio(C::VerbFace_Tret, C::GB_Verb_Face, 3, L"Өченче зат", L"3 - е лицо"),
    Group(C::GB_Verb_Num, C::VerbPanel, {447, 6, 130, 160}, {495, 6, 81, 160}, L"Сан", L"Число"),
    Radio(C::VerbNum_Single, C::GB_Verb_Num, 1, L"Берлек саны", L"Ед. ч."),
    Radio(C::VerbNum_Plural, C::GB_Verb_Num, 2, L"Күплек сан", L"Мн. ч."),

    Plain(C::btnClose, K::Button, C::Form, {696, 360, 75, 25}, {696, 360, 75, 25}, L"Ябу", L"Закрыть"),
    Plain(C::TB, K::Browser, C::Form, {16, 192, 777, 150}, {16, 192, 777, 150}),
};

const size_t GP_ControlCount = std::size(GP_Controls);

const TGP_ControlRow& GP_Row(TGP_Control id) {
    const auto* row = std::find_if(std::begin(GP_Controls), std::end(GP_Controls),
                                   [id](const TGP_ControlRow& r) { return r.Id == id; });
    if (row == std::end(GP_Controls)) {
        throw Exception(L"No control " + std::to_wstring(static_cast<int>(id)) + L" in the generator window");
    }
    return *row;
}

const TGP_WindowLayout GP_Windows[kLanguageCount] = {
    {L"Парадигма генераторы", 800, 407, true},
    {L"Генератор парадигмы", 792, 407, false},
};
