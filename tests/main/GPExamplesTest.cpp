// The worked examples of the form builders, each built by driving a generator window's controls as
// the user does and read back from its text browser.

#include <gtest/gtest.h>

#include <sstream>

#include "main/Main.h"
#include "tests/main/GPTestSupport.h"

namespace {

using C = TGP_Control;

struct TExample {
    const wchar_t* Word;
    std::vector<C> Clicks; // the part of speech, then its categories in order
    bool Negative;
    const wchar_t* Form;
    const wchar_t* Split;   // "" when the form has no affix
    const wchar_t* Affixes; // the affix texts, blank-separated; "()" a placeholder
};

TExample Noun(const wchar_t* word, C pad, C face, C num, const wchar_t* form, const wchar_t* split = L"",
              const wchar_t* affixes = L"") {
    return {word, {C::GB_Main_Nouns, pad, face, num}, false, form, split, affixes};
}

TExample Adj(const wchar_t* word, C degree, const wchar_t* form, const wchar_t* split = L"",
             const wchar_t* affixes = L"") {
    return {word, {C::GB_Main_Adj, degree}, false, form, split, affixes};
}

TExample Num(const wchar_t* word, C pad, C kind, const wchar_t* form, const wchar_t* split = L"",
             const wchar_t* affixes = L"") {
    return {word, {C::GB_Main_Dig, pad, kind}, false, form, split, affixes};
}

TExample Verb(const wchar_t* word, std::vector<C> categories, bool negative, const wchar_t* form,
              const wchar_t* split = L"", const wchar_t* affixes = L"") {
    categories.insert(categories.begin(), C::GB_Main_Verb);
    return {word, categories, negative, form, split, affixes};
}

// Verb categories by kind.
const std::vector<C> kInf = {C::VerbKind_Infinitive};
const std::vector<C> kNoun = {C::VerbKind_NameAction};
std::vector<C> Imp(C person, C number) {
    return {C::VerbKind_Stimulate, person, number};
}
std::vector<C> Cond(C person, C number) {
    return {C::VerbKind_Condition, person, number};
}
std::vector<C> Ind(C tense, C person, C number) {
    return {C::VerbKind_Appear, tense, person, number};
}

constexpr C P1 = C::VerbFace_Prim, P2 = C::VerbFace_Sec, P3 = C::VerbFace_Tret;
constexpr C Sg = C::VerbNum_Single, Pl = C::VerbNum_Plural;
constexpr C Present = C::VerbTime_Present, PastDef = C::VerbTime_PastDef, PastUndef = C::VerbTime_PastUnDef,
            FutureDef = C::VerbTime_FutureDef, FutureUndef = C::VerbTime_FutureUndef;

const TExample kExamples[] = {
    Noun(L"китап", C::NounsPad_Base, C::NounsFace_Undef, C::NounsNum_Single, L"китап"),
    Noun(L"китап", C::NounsPad_Base, C::NounsFace_Undef, C::NounsNum_Plural, L"китаплар", L"китап/лар", L"лар"),
    Noun(L"китап", C::NounsPad_Dir, C::NounsFace_Undef, C::NounsNum_Single, L"китапка", L"китап/ка", L"ка"),
    Noun(L"китап", C::NounsPad_Dir, C::NounsFace_Prim, C::NounsNum_Single, L"китабыма", L"китаб/ым/а", L"ым а"),
    Noun(L"китап", C::NounsPad_Dir, C::NounsFace_Tret, C::NounsNum_Single, L"китабына", L"китаб/ы/на", L"ы на"),
    Noun(L"китап", C::NounsPad_Vin, C::NounsFace_Tret, C::NounsNum_Single, L"китабын", L"китаб/ы/н", L"ы н"),
    Noun(L"китап", C::NounsPad_Sour, C::NounsFace_Tret, C::NounsNum_Single, L"китабыннан", L"китаб/ы/н/нан",
         L"ы н нан"),
    Noun(L"урман", C::NounsPad_Sour, C::NounsFace_Undef, C::NounsNum_Plural, L"урманнардан", L"урман/нар/дан",
         L"нар дан"),
    Noun(L"тау", C::NounsPad_Time, C::NounsFace_Tret, C::NounsNum_Single, L"тавында", L"тав/ы/н/да", L"ы н да"),
    Noun(L"туй", C::NounsPad_Dir, C::NounsFace_Tret, C::NounsNum_Single, L"туена", L"туе/на", L"на"),
    Noun(L"туй", C::NounsPad_Base, C::NounsFace_Tret, C::NounsNum_Single, L"туе"),
    Noun(L"уку", C::NounsPad_Base, C::NounsFace_Tret, C::NounsNum_Single, L"укуы", L"уку/ы", L"ы"),
    Noun(L"abc", C::NounsPad_Dir, C::NounsFace_Undef, C::NounsNum_Single, L"abc"),

    Adj(L"ак", C::Adj_Compare, L"аграк", L"аг/рак", L"рак"),
    Adj(L"күп", C::Adj_Compare, L"күбрәк", L"күб/рәк", L"рәк"),
    Adj(L"яшь", C::Adj_Compare, L"яшьрәк", L"яшь/рәк", L"рәк"),
    Adj(L"ак", C::Adj_Base, L"ак"),
    Adj(L"abc", C::Adj_Compare, L"abcрак", L"abc/рак", L"рак"),

    Num(L"ике", C::DigPad_Base, C::DigKind_Coll, L"икәү", L"ик/әү", L"әү"),
    Num(L"алты", C::DigPad_Base, C::DigKind_Coll, L"алтау", L"алт/ау", L"ау"),
    Num(L"бер", C::DigPad_Base, C::DigKind_Num, L"беренче", L"бер/енче", L"енче"),
    Num(L"алты", C::DigPad_Dir, C::DigKind_Num, L"алтынчыга", L"алты/нчы/га", L"нчы га"),
    Num(L"ун", C::DigPad_Vin, C::DigKind_Count, L"унны", L"ун/ны", L"ны"),
    Num(L"ике", C::DigPad_Base, C::DigKind_Count, L"ике"),
    Num(L"5", C::DigPad_Dir, C::DigKind_Count, L"5"),

    Verb(L"бару", kInf, false, L"барырга", L"бар/ырга", L"ырга"),
    Verb(L"бару", Ind(Present, P3, Sg), false, L"бара", L"бар/а", L"а"),
    Verb(L"бару", Ind(Present, P1, Sg), false, L"барам", L"бар/а/м", L"а м"),
    Verb(L"бару", Ind(PastDef, P1, Sg), false, L"бардым", L"бар/ды/м", L"ды м"),
    Verb(L"бару", Ind(Present, P1, Sg), true, L"бармыйм", L"бар/мый/м", L"мый м"),
    Verb(L"бару", kInf, true, L"бармаска", L"бар/маска", L"маска"),
    Verb(L"бару", Imp(P2, Sg), false, L"бар", L"бар", L"()"),
    Verb(L"язу", kInf, false, L"язарга", L"яз/арга", L"арга"),
    Verb(L"эшләү", kInf, false, L"эшләргә", L"эшлә/ргә", L"ргә"),
    Verb(L"эшләү", Ind(Present, P3, Sg), false, L"эшли", L"эшл/и", L"и"),
    Verb(L"эшләү", Ind(Present, P1, Sg), false, L"эшлим", L"эшл/и/м", L"и м"),
    Verb(L"табу", Imp(P2, Sg), false, L"тап", L"тап", L"()"),
    Verb(L"туу", kInf, false, L"туарга", L"ту/арга", L"арга"),
    Verb(L"уку", kNoun, false, L"уку", L"ук/у", L"у"),
    Verb(L"уку", Ind(Present, P3, Sg), false, L"укый", L"ук/ый", L"ый"),
    Verb(L"уку", Ind(Present, P1, Sg), false, L"укыйм", L"ук/ый/м", L"ый м"),
    Verb(L"кую", kNoun, false, L"кую"),
    Verb(L"баю", kInf, false, L"баерга", L"бае/рга", L"рга"),
    Verb(L"баю", kNoun, false, L"баю"),
    Verb(L"баю", Ind(Present, P3, Sg), false, L"байый", L"бай/ый", L"ый"),
    Verb(L"баю", Ind(PastDef, P3, Sg), false, L"баеды", L"бае/ды", L"ды"),
    Verb(L"баю", Ind(FutureDef, P3, Sg), false, L"баеячак", L"бае/ячак", L"ячак"),
    Verb(L"баю", kInf, true, L"баемаска", L"бае/маска", L"маска"),
    Verb(L"баю", Imp(P2, Sg), false, L"бае", L"бае", L"()"),
    Verb(L"баю", Ind(Present, P1, Sg), false, L"байыйм", L"бай/ый/м", L"ый м"),
    Verb(L"баю", Ind(Present, P1, Sg), true, L"баемыйм", L"бае/мый/м", L"мый м"),
    Verb(L"язу", Ind(Present, P1, Sg), false, L"язам", L"яз/а/м", L"а м"),
    Verb(L"язу", Ind(Present, P2, Pl), false, L"язасыз", L"яз/а/сыз", L"а сыз"),
    Verb(L"язу", Ind(PastDef, P1, Pl), false, L"яздык", L"яз/ды/к", L"ды к"),
    Verb(L"язу", Ind(PastUndef, P1, Sg), false, L"язганмын", L"яз/ган/мын", L"ган мын"),
    Verb(L"язу", Ind(FutureDef, P3, Pl), false, L"язачаклар", L"яз/ачак/лар", L"ачак лар"),
    Verb(L"язу", Ind(FutureUndef, P3, Sg), false, L"язар", L"яз/ар", L"ар"),
    Verb(L"язу", Cond(P2, Sg), false, L"язсаң", L"яз/са/ң", L"са ң"),
    Verb(L"язу", Imp(P3, Pl), false, L"язсыннар", L"яз/сын/нар", L"сын нар"),
    Verb(L"язу", Imp(P1, Sg), false, L"языйм", L"яз/ый/м", L"ый м"),
    Verb(L"язу", kInf, true, L"язмаска", L"яз/маска", L"маска"),
    Verb(L"язу", Ind(Present, P1, Sg), true, L"язмыйм", L"яз/мый/м", L"мый м"),
    Verb(L"язу", Imp(P2, Sg), true, L"язма", L"яз/ма", L"ма"),
    Verb(L"язу", Ind(FutureUndef, P1, Sg), true, L"язмам", L"яз/ма/м", L"ма м"),
    Verb(L"язу", Ind(FutureUndef, P1, Pl), true, L"язмабыз", L"яз/ма/быз", L"ма быз"),
    Verb(L"язу", Ind(FutureUndef, P2, Sg), true, L"язмассың", L"яз/мас/сың", L"мас сың"),
    Verb(L"язу", Ind(FutureUndef, P3, Sg), true, L"язмас", L"яз/мас", L"мас"),
    Verb(L"ашау", kInf, false, L"ашарга", L"аша/рга", L"рга"),
    Verb(L"ашау", Ind(Present, P3, Sg), false, L"ашый", L"аш/ый", L"ый"),
    Verb(L"ашау", Ind(Present, P1, Sg), false, L"ашыйм", L"аш/ый/м", L"ый м"),
    Verb(L"ашау", Ind(Present, P2, Pl), false, L"ашыйсыз", L"аш/ый/сыз", L"ый сыз"),
    Verb(L"ашау", Imp(P1, Sg), false, L"ашыйм", L"аш/ый/м", L"ый м"),
    Verb(L"ашау", Ind(FutureDef, P3, Sg), false, L"ашаячак", L"аша/ячак", L"ячак"),
    Verb(L"эшләү", kNoun, false, L"эшләү", L"эшлә/ү", L"ү"),
    Verb(L"эшләү", Ind(FutureUndef, P1, Sg), false, L"эшләрмен", L"эшлә/р/мен", L"р мен"),
    Verb(L"эшләү", Ind(Present, P3, Pl), true, L"эшләмиләр", L"эшлә/ми/ләр", L"ми ләр"),
    Verb(L"алу", kInf, false, L"алырга", L"ал/ырга", L"ырга"),
    Verb(L"килү", kInf, false, L"килергә", L"кил/ергә", L"ергә"),
    Verb(L"алу", Ind(FutureUndef, P3, Sg), false, L"алыр", L"ал/ыр", L"ыр"),
    Verb(L"килү", Ind(FutureUndef, P3, Sg), false, L"килер", L"кил/ер", L"ер"),
    Verb(L"сөю", kNoun, false, L"сөю"),
    Verb(L"сөю", kInf, false, L"сөяргә", L"сө/яргә", L"әргә"), // the affix as its table row has it
    Verb(L"аву", Imp(P2, Sg), false, L"ау", L"ау", L"()"),
    Verb(L"эчү", Imp(P2, Sg), false, L"эч", L"эч", L"()"),
    Verb(L"эчү", kInf, true, L"эчмәскә", L"эч/мәскә", L"мәскә"),
    Verb(L"тибү", Ind(PastDef, P3, Sg), false, L"типте", L"тип/те", L"те"),
    Verb(L"тибү", Ind(PastDef, P3, Sg), true, L"типмәде", L"тип/мә/де", L"мә де"),
};

std::vector<std::wstring> Words(const wchar_t* text) {
    std::wistringstream in(text);
    std::vector<std::wstring> words;
    for (std::wstring word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

// The affix texts of the browser's affix lines ("ы - name").
std::vector<std::wstring> AffixesShown(const std::vector<std::wstring>& lines) {
    std::vector<std::wstring> affixes;
    for (size_t i = 2; i < lines.size(); ++i) {
        affixes.push_back(lines[i].substr(0, lines[i].find(L" - ")));
    }
    return affixes;
}

} // namespace

TEST(GPExamples, EveryWorkedExampleOfTheBuildersThroughTheWindow) {
    MainWordChanged = false;
    for (TLanguage language : {langRussian, langTatar}) {
        TGP_Form form(language);
        form.Show();
        for (const TExample& e : kExamples) {
            Click(form, e.Clicks.front());
            form.edBase().SetText(e.Word);
            if (e.Clicks.front() == C::GB_Main_Verb && IsChecked(form, C::VerbAbsent) != e.Negative) {
                Click(form, C::VerbAbsent);
            }
            for (C button : e.Clicks) {
                ASSERT_TRUE(IsEnabled(form, button)) << e.Word << " " << static_cast<int>(button);
                Click(form, button);
            }
            const std::vector<std::wstring> lines = BrowserLines(form);
            ASSERT_FALSE(lines.empty()) << e.Word;
            EXPECT_EQ(lines[0], e.Form) << e.Word << " " << language;
            if (*e.Affixes == L'\0') {
                EXPECT_EQ(lines.size(), 1u) << e.Form;
                continue;
            }
            ASSERT_GE(lines.size(), 2u) << e.Form;
            EXPECT_EQ(lines[1], e.Split) << e.Form;
            EXPECT_EQ(AffixesShown(lines), Words(e.Affixes)) << e.Form;
            for (size_t i = 2; i < lines.size(); ++i) {
                EXPECT_GT(lines[i].size(), lines[i].find(L" - ") + 3) << e.Form << ": the affix has a name";
            }
        }
    }
}
