// Tatar lookup: the word is cut at every point from its end where the tail is an ending of a suffix
// table; each stem is probed in the dictionaries with the sound alternations Tatar stems undergo
// before suffixes, and the tail must be a suffix chain of the stem's part of speech that can follow it.

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/DictImage.h"
#include "core/GP_DATA.h"
#include "core/PartsOfSpeech.h"
#include "core/TableTailes.h"
#include "core/TatAlphabet.h"
#include "core/TatarHeadwordIndex.h"
#include "core/TatarReadings.h"
#include "core/Translator.h"
#include "core/win32/SystemText.h"

using namespace std::string_view_literals; // the library measures a wide literal with a call

namespace {

// IsCharAlphaW is a system call, asked for every letter of every word: its answers are kept.
bool IsLetter(wchar_t c) {
    static uint8_t known[0x10000] = {};
    uint8_t& answer = known[static_cast<uint16_t>(c)];
    if (answer == 0) {
        answer = SystemIsLetter(c) ? 1 : 2;
    }
    return answer == 1;
}

inline uint32_t ClassOf(wchar_t c) {
    return TatLetterClass(c);
}
inline bool IsVowel(wchar_t c) {
    return (ClassOf(c) & kVowel) != 0;
}
inline bool IsConsonant(wchar_t c) {
    return (ClassOf(c) & kConsonant) != 0 && c != L'ь' && c != L'ъ';
}
inline wchar_t Partner(wchar_t c) {
    return static_cast<wchar_t>(ClassOf(c) >> 16);
}
inline bool StartsWith(std::wstring_view text, std::wstring_view start) {
    return text.substr(0, start.size()) == start;
}

uint8_t TableBit(TPartOfSpeech part) {
    return static_cast<uint8_t>(1u << InflectingPartIndex(part));
}

// One cut: the stem is the first n letters, the tail the rest; Tables has the bits of the suffix
// tables that hold the tail (all for the uncut word).
struct TCut {
    const TLookupWord& Word;
    size_t N;
    std::wstring_view Tail;
    uint8_t Tables;
    bool Begins;         // some headword begins with the stem less its last letter
    const TTailEnd* End; // the tail read from the word's end; nullptr for the uncut word
    // Only when the word has no other reading: a noun's own ы, е taken as the possessive before
    // н. Solid compounds end in their possessive (ишегалды/н/дагы).
    bool OwnVowelPossessed = false;

    bool Cut() const { return !Tail.empty(); }
    std::wstring_view Stem() const { return std::wstring_view(Word.Text()).substr(0, N); }
    wchar_t Last() const { return Word.Text()[N - 1]; }
    wchar_t BeforeLast() const { return N > 1 ? Word.Text()[N - 2] : 0; }
    TProbeText StemText() const { return Word.Beginning(N); }
    // The stem less its last letter, with other letters to follow.
    TProbeText Shortened() const { return Word.Beginning(N - 1); }
    bool Nominal() const { return (Tables & (TableBit(posNoun) | TableBit(posAdjective) | TableBit(posNumeral))) != 0; }
    bool Verbal() const { return (Tables & TableBit(posVerb)) != 0; }
    // и, ый of the present after a consonant: only a stem that lost its а, ә, ы or е takes them.
    bool PresentAfterConsonant() const {
        return Cut() && (StartsWith(Tail, L"ый"sv) || Tail[0] == L'и') && IsConsonant(Last());
    }
};

// Removes from the probe lists the hits appended since the counts were taken that fail the test.
template <class Test> void KeepNewHits(const std::vector<size_t>& counts, Test test) {
    TLangGroup& group = LangGroups[langTatar];
    for (size_t d = 0; d < group.size(); ++d) {
        TArrInt& probe = group[d].Probe;
        const auto from = probe.begin() + static_cast<std::ptrdiff_t>(counts[d]);
        probe.erase(std::remove_if(from, probe.end(), [&](int32_t hit) { return !test(d, hit); }), probe.end());
    }
}

void TakeProbeCounts(std::vector<size_t>& counts) {
    counts.clear();
    for (const TDictHandle& dict : LangGroups[langTatar]) {
        counts.push_back(dict.Probe.size());
    }
}

bool AnyNewHits(const std::vector<size_t>& counts) {
    size_t d = 0;
    for (const TDictHandle& dict : LangGroups[langTatar]) {
        if (dict.Probe.size() > counts[d++]) {
            return true;
        }
    }
    return false;
}

// A verb of the stem: T + ү, T + у.
bool ProbeVerbStem(const TProbeText& stem) {
    if (!stem.MayBegin()) {
        return false;
    }
    return stem.Plus(L'ү').Probe(posVerb, 0) || stem.Plus(L'у').Probe(posVerb, 0);
}

// The verb probes of a stem: as it is, with its last к, п, ү, у voiced, and after a cut with the
// а or ә it lost before a vowel (ашый: ашау). The а, ә stems are probed also after a hit when the
// tail is the present's и, ый, which only they take among consonant stems (тели: теләү, not телү).
bool ProbeVerbVariants(const TCut& cut, const TProbeText& stem) {
    bool found = ProbeVerbStem(stem);
    const wchar_t last = stem.Last();
    if (!found && (last == L'к' || last == L'п' || last == L'ү' || last == L'у')) {
        const wchar_t voiced = last == L'к' ? L'г' : last == L'п' ? L'б' : L'в';
        found = ProbeVerbStem(cut.Shortened().Plus(voiced));
    }
    if ((found && !cut.PresentAfterConsonant()) || !cut.Cut() || stem.Is(L"б"sv)) {
        return found;
    }
    const wchar_t next = cut.Tail[0];
    if ((ClassOf(next) & kLetterU) != 0 || next == L'а' || next == L'ә') {
        return found;
    }
    return ProbeVerbStem(stem.Plus(L'а')) || ProbeVerbStem(stem.Plus(L'ә')) || found;
}

// Verbs in -ю: the stem's й (куйды: кую) or its е before a suffix (куеп: кую), a stem in и (диде,
// дигән: дию), and я, ю of a tail after a vowel (куя, сөяргә: кую, сөю).
bool ProbeIotaVerbs(const TCut& cut) {
    const wchar_t last = cut.Last();
    const bool afterVowel = IsVowel(cut.BeforeLast());
    if ((last == L'й' || (last == L'е' && cut.Cut())) && afterVowel) {
        return cut.Shortened().Plus(L'ю').Probe(posVerb, 0);
    }
    if (last == L'и' || (cut.Cut() && IsVowel(last) && (cut.Tail[0] == L'я' || cut.Tail[0] == L'ю'))) {
        return cut.StemText().Plus(L'ю').Probe(posVerb, 0);
    }
    return false;
}

// A stem in ы or е that the dictionary form writes with у, ү (борчыды: борчу); only verbs whose
// stem it is are kept (бары of барып is no stem of бару).
bool ProbeMergedVerb(const TCut& cut) {
    const wchar_t last = cut.Last();
    if ((last != L'ы' && last != L'е') || !IsConsonant(cut.BeforeLast())) {
        return false;
    }
    static std::vector<size_t> counts;
    TakeProbeCounts(counts);
    const TProbeText verb = cut.Shortened().Plus(last == L'ы' ? L'у' : L'ү');
    if (!verb.Probe(posVerb, 0)) {
        return false;
    }
    wchar_t text[kMaxWordLength + 3];
    const std::wstring_view probeText(text, verb.Copy(text));
    KeepNewHits(counts, [&](size_t d, int32_t hit) {
        if (WrittenAsProbe(verb, d)) {
            return VerbStemIs(probeText, cut.Stem());
        }
        return VerbStemIs(LangGroups[langTatar][d].Headword(hit), cut.Stem());
    });
    return AnyNewHits(counts);
}

// A noun whose last vowel drops before a vowel-initial suffix: халкы, урны (халык, урын).
bool ProbeDroppedVowel(const TCut& cut, uint8_t mask) {
    const std::wstring_view stem = cut.Stem();
    if (!cut.Cut() || cut.N < 3 || !IsVowel(cut.Tail[0]) || !IsConsonant(cut.Last()) ||
        !IsConsonant(cut.BeforeLast())) {
        return false;
    }
    const wchar_t vowel = TatHasBackVowel(stem) ? L'ы' : L'е';
    return cut.Shortened().Plus(vowel).Plus(cut.Last()).Probe(mask, 1);
}

bool ProbeNominal(const TCut& cut) {
    const uint8_t mask = cut.Cut() ? dmNominal : dmNotVerb;
    const uint8_t exclude = cut.Cut() ? 1 : 0;
    const wchar_t last = cut.Last();
    const TProbeText stem = cut.StemText();
    // A stem loses its ъ, ь or a numeral's final е, ы and changes its last letter for its partner
    // only before a vowel (шагыйре, икәү, китабы), or an adjective its final к, п before the
    // comparative (аграк); a й that became е stays so before the person (туем, туеңа).
    const bool beforeVowel = cut.Cut() && IsVowel(cut.Tail[0]);
    const bool alternates = beforeVowel || (cut.Cut() && (cut.Tables & TableBit(posAdjective)) != 0);
    bool found = false;
    if (stem.MayBegin()) {
        found = stem.Probe(mask, exclude);
        if (beforeVowel) {
            found = (stem.Plus(L'ъ').Probe(dmNominal, 1) || stem.Plus(L'ь').Probe(dmNominal, 1)) || found;
            found = (stem.Plus(L'е').Probe(posNumeral, 1) || stem.Plus(L'ы').Probe(posNumeral, 1)) || found;
        }
    }
    if ((alternates || last == L'е') && (ClassOf(last) & kHasPartner) != 0) {
        found = cut.Shortened().Plus(Partner(last)).Probe(mask, 1) || found;
        if (!found && last == L'в') {
            found = cut.Shortened().Plus(L'ү').Probe(mask, 1);
        }
    }
    if (last == L'е') {
        found = cut.Shortened().Plus(L'й').Probe(posNoun, exclude) || found;
    }
    return ProbeDroppedVowel(cut, mask) || found;
}

// The dictionary form of a stem of the verb lists: of VerbStemPairs by the system's case-insensitive
// compare, which a stem of capital letters is spared by its small form, and of IotaVerbStemPairs as
// written (the last row of the stem).
const wchar_t* ListedInfinitive(std::wstring_view stem) {
    static const TTextIndex<const wchar_t*> iota = [] {
        TTextIndex<const wchar_t*> index;
        for (size_t i = IotaVerbStemPairs.size(); i > 0; --i) {
            index.Insert(IotaVerbStemPairs[i - 1].Stem, IotaVerbStemPairs[i - 1].Infinitive);
        }
        return index;
    }();
    // The lengths of the listed stems, shortest and longest.
    static const std::pair<size_t, size_t> lengths = [] {
        size_t least = kMaxWordLength, most = 0;
        for (const TTableView<TVerbStemPair>* pairs : {&VerbStemPairs, &IotaVerbStemPairs}) {
            for (const TVerbStemPair& pair : *pairs) {
                least = std::min(least, std::wcslen(pair.Stem));
                most = std::max(most, std::wcslen(pair.Stem));
            }
        }
        return std::pair(least, most);
    }();
    wchar_t small[kMaxWordLength];
    const bool folded = stem.size() <= kMaxWordLength && TatSmallLetters(stem, small);
    if (folded && (stem.size() < lengths.first || stem.size() > lengths.second)) {
        return nullptr; // letters equal a listed stem only at its length
    }
    const wchar_t* infinitive = nullptr;
    if (VerbInfinitiveFromStem(folded ? std::wstring_view(small, stem.size()) : stem, infinitive)) {
        return infinitive;
    }
    const wchar_t* const* found = iota.Find(stem);
    return found == nullptr ? nullptr : *found;
}

// A stem of the verb lists, which may differ from its dictionary form before the last letter
// (курык: курку).
bool ProbeListedStem(const TCut& cut) {
    // The listed stems end in few letters (in the Tatar order, of either case): others need no search.
    static const uint64_t finals = [] {
        uint64_t letters = 0;
        for (const TTableView<TVerbStemPair>* pairs : {&VerbStemPairs, &IotaVerbStemPairs}) {
            for (const TVerbStemPair& pair : *pairs) {
                letters |= 1ull << (TatWeight(pair.Stem[std::wcslen(pair.Stem) - 1]) & 63);
            }
        }
        return letters;
    }();
    if ((finals & (1ull << (TatWeight(cut.Last()) & 63))) == 0) {
        return false;
    }
    const wchar_t* infinitive = ListedInfinitive(cut.Stem());
    return infinitive != nullptr && TProbeText(infinitive).Probe(posVerb, cut.Cut() ? 1 : 0);
}

// The present after a consonant of a verb in ыу, еү, яу: the ы, е goes and the я leaves its й
// (ар/ый: арыу, буй/ый: буяу).
bool ProbeStrippedPresent(const TCut& cut) {
    if (!cut.PresentAfterConsonant()) {
        return false;
    }
    if (cut.Last() == L'й') {
        return cut.N > 1 && cut.Shortened().Plus(L'я').Plus(L'у').Probe(posVerb, 0);
    }
    return ProbeVerbStem(cut.StemText().Plus(L'ы')) || ProbeVerbStem(cut.StemText().Plus(L'е'));
}

bool ProbeVerbal(const TCut& cut) {
    const wchar_t last = cut.Last();
    bool found = false;
    if (last == L'ю') {
        found = cut.StemText().Probe(posVerb, cut.Cut() ? 1 : 0);
    }
    found = ProbeVerbVariants(cut, cut.StemText()) || found;
    if (cut.Cut() && cut.N > 1 && (ClassOf(last) & kAlternatesBeforeVowel) != 0) {
        found = ProbeVerbVariants(cut, cut.Shortened().Plus(Partner(last))) || found;
    }
    found = ProbeListedStem(cut) || found;
    found = ProbeIotaVerbs(cut) || found;
    found = ProbeStrippedPresent(cut) || found;
    return ProbeMergedVerb(cut) || found;
}

bool TryStem(const TCut& cut) {
    if (!cut.Begins) {
        return (!cut.Cut() || cut.Verbal()) && ProbeListedStem(cut);
    }
    bool found = false;
    if (!cut.Cut() || cut.Nominal()) {
        found = ProbeNominal(cut);
    }
    if (!cut.Cut() || cut.Verbal()) {
        found = ProbeVerbal(cut) || found;
    }
    return found;
}

// ---- the passes ----

bool ChainFitsStem(std::wstring_view stem, std::wstring_view tail, const TTailChain& chain) {
    if (chain.Count == 0) {
        return TatEndingFitsStem(stem, tail);
    }
    const TTaileRule& first = *chain.Rules[0];
    return TatFirstSuffixFits(stem, tail, chain.Part, first.RuleId, first.FormCode, first.FlagsA);
}

const TTailChain* FittingChain(const TCut& cut, TPartOfSpeech part) {
    const TTailChain* chain = TableTailes.FindAtEnd(*cut.End, cut.Tail, part);
    return chain != nullptr && ChainFitsStem(cut.Stem(), cut.Tail, *chain) ? chain : nullptr;
}

// The tail's chain of a part of speech. Adjectives and numerals used as nouns take the noun's
// suffixes: the noun table stands in where theirs has no chain that names the suffixes.
const TTailChain* FindChain(const TCut& cut, TPartOfSpeech part) {
    const TTailChain* own = FittingChain(cut, part);
    const bool nounLike = part == posAdjective || part == posNumeral;
    if (own != nullptr && (own->Count != 0 || !nounLike)) {
        return own;
    }
    const TTailChain* noun = nounLike ? FittingChain(cut, posNoun) : nullptr;
    return noun != nullptr ? noun : own;
}

// A consonant stem before the present's и, ый: the verb must have lost an а, ә (ашый: ашау) or have
// a stem in ы, е (укый: уку). The first person's м may follow the imperative's ый as well (барыйм).
bool NeedsLostVowel(const TCut& cut, TPartOfSpeech part, const TTailChain& chain) {
    if (part != posVerb || chain.Count == 0 || !cut.PresentAfterConsonant()) {
        return false;
    }
    return chain.Rules[0]->FormCode == 24 && (chain.Count < 2 || chain.Rules[1]->RuleId != 90);
}

bool HasLostVowel(std::wstring_view stem, const wchar_t* headword) {
    const std::wstring_view verb(headword);
    // S + а + у, S + ә + ү: ашау of ашый.
    if (verb.size() == stem.size() + 2 && verb.substr(0, stem.size()) == stem &&
        (verb.substr(stem.size()) == L"ау"sv || verb.substr(stem.size()) == L"әү"sv)) {
        return true;
    }
    // S less й + я + у: буяу of буйый.
    const size_t n = stem.size();
    if (n > 1 && stem.back() == L'й' && verb.size() == n + 1 && verb.substr(0, n - 1) == stem.substr(0, n - 1) &&
        verb.substr(n - 1) == L"яу"sv) {
        return true;
    }
    // A consonant stem that takes the present и: йөри of йөрү.
    for (const wchar_t* listed : PresentIVerbs) {
        if (verb == listed && verb.size() == stem.size() + 1 && verb.substr(0, stem.size()) == stem) {
            return true;
        }
    }
    // A stem in ы, е: укый of уку, төзи of төзү.
    wchar_t own[kMaxWordLength + 2];
    const size_t length = std::min(stem.size(), kMaxWordLength);
    stem.copy(own, length);
    for (const wchar_t vowel : {L'ы', L'е'}) {
        own[length] = vowel;
        if (VerbStemIs(verb, std::wstring_view(own, length + 1))) {
            return true;
        }
    }
    // A stem whose е after a vowel is said йы: бай/ый of баю (бае).
    if (length > 1 && own[length - 1] == L'й' && IsVowel(own[length - 2])) {
        own[length - 1] = L'е';
        return VerbStemIs(verb, std::wstring_view(own, length));
    }
    return false;
}

// What a pass asks of each hit beyond its part of speech.
struct TPassNeeds {
    bool LostVowel = false;     // a consonant stem before the present's и, ый
    bool Possessive = false;    // the tail needs the third person's possessive before it
    bool PossessedStem = false; // ... which ends the stem (туе/н), else opens the tail (халк/ы)
};

TPassNeeds PassNeeds(const TCut& cut, TPartOfSpeech part, const TTailChain& chain) {
    TPassNeeds needs;
    needs.LostVowel = NeedsLostVowel(cut, part, chain);
    if (part == posVerb) {
        return needs;
    }
    // The н of a possessed stem (rules 25, 19, 20: н, нә, на), named or not (туендагы), and the
    // possessive ы, е opening the tail (rules 95, 98, or an ending that names no suffix).
    const std::wstring_view tail = cut.Tail;
    const int32_t first = chain.Count != 0 ? chain.Rules[0]->RuleId : 0;
    needs.PossessedStem = chain.Count != 0 ? (first == 25 || first == 19 || first == 20)
                                           : tail[0] == L'н' && tail.size() > 1 && IsConsonant(tail[1]);
    needs.Possessive = needs.PossessedStem || (chain.Count != 0 ? (first == 95 || first == 98)
                                                                : (tail[0] == L'ы' || tail[0] == L'е'));
    return needs;
}

// A hit refused only because its stem's ы, е is its own: the word may be a solid compound's form.
bool g_ownVowelRefused = false;

// The headword's text is read only where a rule needs it: most hits are tested by their flags.
bool HitFits(const TDictHandle& dict, int32_t hit, TPartOfSpeech part, const TCut& cut, const TPassNeeds& needs) {
    const TDictEntry& entry = dict.Entry(hit);
    if (!PosFlagsMatch(entry, part) || (needs.LostVowel && !HasLostVowel(cut.Stem(), dict.Headword(hit)))) {
        return false;
    }
    // Only a numeral's probe adds a vowel to the stem (алт/ы: алты).
    if (needs.Possessive && (needs.PossessedStem || (entry.Flags & posNumeral) != 0) &&
        !(needs.PossessedStem && cut.OwnVowelPossessed && part == posNoun) &&
        !TatPossessiveIsAdded(cut.Stem(), dict.Headword(hit), needs.PossessedStem)) {
        g_ownVowelRefused = g_ownVowelRefused || (needs.PossessedStem && part == posNoun);
        return false;
    }
    return true;
}

// The part of speech of one pass: the first probe hit with a part of speech whose chain for the
// tail follows the stem and takes the hit. Each part-of-speech bit of the hit is tried, so that an
// entry marked as noun and verb is found with the suffixes of either.
const TTailChain* ChoosePartOfSpeech(const TCut& cut, TPartOfSpeech& chosen, TPassNeeds& needs) {
    for (const TDictHandle& dict : LangGroups[langTatar]) {
        for (const int32_t hit : dict.Probe) {
            const uint8_t flags = dict.Entry(hit).Flags;
            for (const TPartOfSpeechInfo& part : InflectingParts) {
                const TTailChain* chain = (flags & part.Code) != 0 ? FindChain(cut, part.Code) : nullptr;
                if (chain == nullptr) {
                    continue;
                }
                needs = PassNeeds(cut, part.Code, *chain);
                if (HitFits(dict, hit, part.Code, cut, needs)) {
                    chosen = part.Code;
                    return chain;
                }
            }
        }
    }
    return nullptr;
}

// Moves the probe hits that fit the tail into Accepted: all for the uncut word, else those of the
// pass's part of speech, whose suffix chain is given (none for the uncut word).
bool FilterPass(const TCut& cut, const TTailChain*& chain) {
    TLangGroup& group = LangGroups[langTatar];
    chain = nullptr;
    if (!cut.Cut()) {
        // The word as it stands is a verb only as its imperative: a verb found through its stem
        // whose stem is written otherwise is no reading (ук: not уку, whose stem is укы).
        bool accepted = false;
        for (TDictHandle& dict : group) {
            for (const int32_t hit : dict.Probe) {
                const uint8_t flags = dict.Entry(hit).Flags;
                const bool verbOnly = (flags & (posNoun | posAdjective | posNumeral | posOther | posVerb)) == posVerb;
                if (verbOnly) { // only these are read: most hits are taken by their flags
                    const wchar_t* headword = dict.Headword(hit);
                    if (!TatSameLetters(headword, cut.Stem()) && !TatIsImperativeOf(headword, cut.Stem())) {
                        continue;
                    }
                }
                dict.Accepted.push_back(hit);
                accepted = true;
            }
            dict.Probe.clear();
        }
        return accepted;
    }
    TPartOfSpeech part;
    TPassNeeds needs;
    chain = ChoosePartOfSpeech(cut, part, needs);
    if (chain == nullptr) {
        return false;
    }
    bool accepted = false;
    for (TDictHandle& dict : group) {
        auto rest = dict.Probe.begin();
        for (const int32_t hit : dict.Probe) {
            if (HitFits(dict, hit, part, cut, needs)) {
                dict.Accepted.push_back(hit);
                accepted = true;
            } else {
                *rest++ = hit;
            }
        }
        dict.Probe.erase(rest, dict.Probe.end());
    }
    return accepted;
}

// The letters of a voice suffix that ends a verb stem: the passive or reflexive ыл, ел, ын, ен and
// the cooperative ыш, еш after a consonant, л, н, ш after а, ә, ы, е (языл, күрен, таныш, эшлән).
// Its length, 0 when the stem ends in none; the base left is two letters at least, three after a
// vowel, so that short stems are not read as voices of shorter verbs.
size_t VoiceSuffixLength(std::wstring_view stem) {
    const size_t n = stem.size();
    if (n < 3 || (stem[n - 1] != L'л' && stem[n - 1] != L'н' && stem[n - 1] != L'ш')) {
        return 0;
    }
    const wchar_t before = stem[n - 2];
    if ((before == L'ы' || before == L'е') && n >= 4 && IsConsonant(stem[n - 3])) {
        return 2;
    }
    const bool joins = before == L'а' || before == L'ә' || before == L'ы' || before == L'е';
    return joins && n >= 4 ? 1 : 0;
}

// A verb in a voice that is no headword of its own (язылган, ителә, танышты): the base verb, read
// with the voice suffix between its stem and the tail. It comes after the voice's own headword,
// found at the same cut.
void TryVoiceForm(const TCut& cut, TLangSearchResult& result, size_t& used) {
    const size_t voice = cut.Cut() && cut.Verbal() ? VoiceSuffixLength(cut.Stem()) : 0;
    // A voice stem takes the suffixes of any stem, not the арга, ар of a few short ones (rules 107
    // to 110): the plural's л|ар is no voice.
    if (voice == 0 || StartsWith(cut.Tail, L"ар"sv) || StartsWith(cut.Tail, L"әр"sv)) {
        return;
    }
    const size_t m = cut.N - voice;
    const TCut base{cut.Word, m, std::wstring_view(cut.Word.Text()).substr(m), TableBit(posVerb),
                    cut.Word.Begins(m - 1), nullptr};
    TLangGroup& group = LangGroups[langTatar];
    for (TDictHandle& dict : group) {
        dict.Probe.clear();
    }
    bool found = ProbeListedStem(base);
    if (base.Begins) {
        found = ProbeVerbVariants(base, base.StemText()) || found;
        found = ProbeMergedVerb(base) || found;
    }
    const TTailChain* chain = found ? FindChain(cut, posVerb) : nullptr;
    const int32_t first = chain != nullptr && chain->Count != 0 ? chain->Rules[0]->RuleId : 0;
    if (chain == nullptr || NeedsLostVowel(cut, posVerb, *chain) || (first >= 107 && first <= 110)) {
        return;
    }
    const std::wstring& text = cut.Word.Text();
    // The ы, е before л, н, ш belongs to a base verb whose stem ends in it (таны/ш/ты of тану).
    const std::wstring_view ownVowel = voice == 2 ? std::wstring_view(text).substr(0, m + 1) : std::wstring_view();
    bool accepted = false;
    bool stemVowel = false;
    for (TDictHandle& dict : group) {
        for (const int32_t hit : dict.Probe) {
            if (PosFlagsMatch(dict.Entry(hit), posVerb)) {
                dict.Accepted.push_back(hit);
                accepted = true;
                stemVowel = stemVowel || (!ownVowel.empty() && VerbStemIs(dict.Headword(hit), ownVowel));
            }
        }
        dict.Probe.clear();
    }
    if (!accepted) {
        return;
    }
    const size_t n = stemVowel ? m + 1 : m;
    TBaseSearchResult& analysis = TatAppendAnalysis(text, n, true, chain, result, used);
    // The split form shows the voice: яз/ыл/ган.
    std::wstring split = text.substr(0, n) + L'/' + text.substr(n, cut.N - n);
    if (analysis.Taile.empty()) {
        split.append(1, L'/').append(cut.Tail);
    } else {
        split.append(analysis.SplitForm, std::min(n, analysis.SplitForm.size()), std::wstring::npos);
    }
    analysis.SplitForm = split.substr(0, kMaxWordLength);
}

} // namespace

bool PosFlagsMatch(const TDictEntry& entry, TPartOfSpeech part) {
    switch (part) {
    case posNoun:
        return (entry.Flags & (posNoun | posOther)) != 0;
    case posAdjective:
    case posNumeral:
    case posVerb:
        return (entry.Flags & part) != 0;
    case posOther:
        break;
    }
    return false;
}

bool TatHasCandidates() {
    for (const TDictHandle& dict : LangGroups[langTatar]) {
        if (!dict.Probe.empty()) {
            return true;
        }
    }
    return false;
}

bool AnalyzeTatar(const wchar_t* word, TLangSearchResult& result) {
    // Analyses of the previous lookup are refilled in place, keeping their buffers: lookups run for
    // every word under the mouse.
    TBaseSearchResults& analyses = result.Results;
    size_t used = 0;
    DictResetHits(langTatar);
    ClearTaileChain(); // the analysis's chains go straight into its results
    size_t length = 0;
    while (word != nullptr && length <= kMaxWordLength && word[length] != 0) {
        ++length;
    }
    if (length == 0 || length > kMaxWordLength) {
        TatKeepAnalyses(analyses, 0);
        return false;
    }
    // The caller's word is never touched: the probes build their texts apart.
    RefreshHeadwordIndexes();
    static TLookupWord lookup;
    lookup.Set(word, length);
    const std::wstring& text = lookup.Text();
    size_t letters = length;
    while (letters > 0 && IsLetter(text[letters - 1])) {
        --letters;
    }
    // The cuts worth trying: where the tail is an ending of a table, read from the word's end.
    struct TCandidate {
        size_t N;
        uint8_t Tables;
        bool Begins;
        const TTailEnd* End;
    };
    TCandidate candidates[kMaxWordLength + 1];
    size_t count = 0;
    uint64_t end = TTableTailes::EndStart();
    for (size_t i = 0; i < length; ++i) {
        const size_t n = length - i;
        if (n <= letters) {
            break; // the stem would end in a non-letter
        }
        uint8_t tables = 0xFF;
        const TTailEnd* tail = nullptr;
        if (i > 0) {
            end = TTableTailes::EndBack(end, text[n]);
            tail = TableTailes.FindEnd(end);
            if (tail == nullptr) {
                break; // no ending ends so, nor does a longer one
            }
            tables = tail->Holds & static_cast<uint8_t>(~TTableTailes::kLongerEnding);
            if (tables == 0) {
                continue;
            }
        }
        candidates[count++] = {n, tables, false, tail};
    }
    // Every probe but those of the verb lists begins with the stem less its last letter.
    if (count > 0) {
        lookup.FindBeginnings(candidates[count - 1].N - 1);
    }
    for (size_t c = 0; c < count; ++c) {
        candidates[c].Begins = lookup.Begins(candidates[c].N - 1);
    }
    // Most cuts probe the stem as it stands or its verb (S + ү, S + у): the memory is asked for the
    // slots of all of them before the first is read.
    for (size_t c = 0; c < count; ++c) {
        const TProbeText stem = lookup.Beginning(candidates[c].N);
        if (!candidates[c].Begins || !stem.MayBegin()) {
            continue;
        }
        if ((candidates[c].Tables & ~TableBit(posVerb)) != 0) {
            stem.Prefetch();
        }
        if ((candidates[c].Tables & TableBit(posVerb)) != 0) {
            stem.Plus(L'ү').Prefetch();
            stem.Plus(L'у').Prefetch();
        }
    }
    g_ownVowelRefused = false;
    for (const bool lastResort : {false, true}) {
        if (lastResort && (used != 0 || !g_ownVowelRefused)) {
            break;
        }
        for (size_t c = 0; c < count; ++c) {
            const TCandidate& candidate = candidates[c];
            const size_t n = candidate.N;
            const std::wstring_view tail = std::wstring_view(text).substr(n);
            const TCut cut{lookup, n, tail, candidate.Tables, candidate.Begins, candidate.End, lastResort};
            DictResetHits(langTatar);
            if (TryStem(cut)) {
                // Each pass takes the hits of one part of speech out of the probe lists, so the passes end.
                while (TatHasCandidates()) {
                    const TTailChain* chain = nullptr;
                    if (!FilterPass(cut, chain)) {
                        break;
                    }
                    TatAppendAnalysis(text, n, cut.Cut(), chain, result, used);
                }
            }
            TryVoiceForm(cut, result, used);
        }
    }
    TatKeepAnalyses(analyses, used);
    TatPutNamesLast(text, analyses);
    return used != 0;
}

bool AnalyzeWord(const wchar_t* word, TSearchResult& result, TLanguage language) {
    if (word == nullptr || *word == 0) {
        return false;
    }
    switch (language) {
    case langTatar:
        return AnalyzeTatar(word, result[langTatar]);
    case langRussian:
        return AnalyzeRussian(word, result[langRussian]);
    }
    return false;
}

bool AnalyzeWord(const wchar_t* word, TSearchResult& result, uint8_t language) {
    return IsLanguage(language) && AnalyzeWord(word, result, static_cast<TLanguage>(language));
}
