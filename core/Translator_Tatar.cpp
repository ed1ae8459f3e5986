// Tatar lookup: the word is cut at every point from its end where the tail is an ending of a suffix
// table; each stem is probed in the dictionaries with the sound alternations Tatar stems undergo
// before suffixes, and the tail must be a suffix chain of the stem's part of speech that can follow it.

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "core/GP_DATA.h"
#include "core/PartsOfSpeech.h"
#include "core/TableTailes.h"
#include "core/TatAlphabet.h"
#include "core/Translator.h"
#include "core/win32/SystemText.h"

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

// The word of one lookup with the fingerprints of its beginnings: every probe of a stem of n
// letters begins with its first n - 1 letters, and a probe no headword can equal is not asked.
class TLookupWord {
public:
    void Set(const wchar_t* word, size_t length) {
        text_.assign(word, length);
        prefix_[0] = THeadwordSet::Start();
        for (size_t k = 0; k < length; ++k) {
            prefix_[k + 1] = THeadwordSet::Extend(prefix_[k], word + k, 1);
        }
    }
    const std::wstring& Text() const { return text_; }
    uint64_t Prefix(size_t k) const { return prefix_[k]; }

    // Whether some headword begins with the first k letters.
    static bool AnyBegins(uint64_t state) {
        for (const TDictHandle& dict : LangGroups[langTatar]) {
            if (!dict.Headwords || dict.Headwords->MayBegin(state)) {
                return true;
            }
        }
        return false;
    }
    static bool AnyHolds(uint64_t state) {
        for (const TDictHandle& dict : LangGroups[langTatar]) {
            if (!dict.Headwords || dict.Headwords->MayHoldState(state)) {
                return true;
            }
        }
        return false;
    }

private:
    std::wstring text_;
    uint64_t prefix_[kMaxWordLength + 1] = {};
};

// A probe text: a beginning of the word with letters added, its fingerprint kept along.
class TProbeText {
public:
    TProbeText(const TLookupWord& word, size_t keep) : length_(keep), state_(word.Prefix(keep)) {
        std::copy(word.Text().data(), word.Text().data() + keep, text_);
    }
    TProbeText Plus(wchar_t letter) const {
        TProbeText longer = *this;
        longer.text_[longer.length_++] = letter;
        longer.state_ = THeadwordSet::Extend(state_, &letter, 1);
        return longer;
    }
    std::wstring_view View() const { return std::wstring_view(text_, length_); }
    bool MayBegin() const { return TLookupWord::AnyBegins(state_); }
    bool MayHold() const { return TLookupWord::AnyHolds(state_); }
    bool Probe(uint8_t mask, uint8_t exclude) const {
        return MayHold() && DictCollectMatches(text_, length_, langTatar, mask, exclude);
    }

private:
    wchar_t text_[kMaxWordLength + 3];
    size_t length_;
    uint64_t state_;
};

// One cut: the stem is the first n letters, the tail the rest; Tables has the bits of the suffix
// tables that hold the tail (all for the uncut word).
struct TCut {
    const TLookupWord& Word;
    size_t N;
    std::wstring_view Tail;
    uint8_t Tables;
    bool Begins; // some headword begins with the stem less its last letter

    bool Cut() const { return !Tail.empty(); }
    std::wstring_view Stem() const { return std::wstring_view(Word.Text()).substr(0, N); }
    wchar_t Last() const { return Word.Text()[N - 1]; }
    wchar_t BeforeLast() const { return N > 1 ? Word.Text()[N - 2] : 0; }
    TProbeText StemText() const { return TProbeText(Word, N); }
    // The stem less its last letter, with other letters to follow.
    TProbeText Shortened() const { return TProbeText(Word, N - 1); }
    bool Nominal() const {
        return (Tables & (TableBit(posNoun) | TableBit(posAdjective) | TableBit(posNumeral))) != 0;
    }
    bool Verbal() const { return (Tables & TableBit(posVerb)) != 0; }
    // и, ый of the present after a consonant: only a stem that lost its а, ә, ы or е takes them.
    bool PresentAfterConsonant() const {
        return Cut() && (StartsWith(Tail, L"ый") || Tail[0] == L'и') && IsConsonant(Last());
    }
};

// Removes from the probe lists the hits appended since the counts were taken that fail the test.
template <class Test> void KeepNewHits(const std::vector<size_t>& counts, Test test) {
    size_t d = 0;
    for (TDictHandle& dict : LangGroups[langTatar]) {
        const auto from = dict.Probe.begin() + static_cast<std::ptrdiff_t>(counts[d++]);
        dict.Probe.erase(std::remove_if(from, dict.Probe.end(), [&](int32_t hit) { return !test(dict.Headword(hit)); }),
                         dict.Probe.end());
    }
}

std::vector<size_t> ProbeCounts() {
    std::vector<size_t> counts;
    for (const TDictHandle& dict : LangGroups[langTatar]) {
        counts.push_back(dict.Probe.size());
    }
    return counts;
}

// A verb of the stem: T + ү, T + у; the stem ба also баю.
bool ProbeVerbStem(const TProbeText& stem) {
    if (!stem.MayBegin()) {
        return false;
    }
    return stem.Plus(L'ү').Probe(posVerb, 0) || stem.Plus(L'у').Probe(posVerb, 0) ||
           (stem.View() == L"ба" && stem.Plus(L'ю').Probe(posVerb, 0));
}

// The verb probes of a stem: as it is, with its last к, п, ү, у voiced, and after a cut with the
// а or ә it lost before a vowel (ашый: ашау). The а, ә stems are probed also after a hit when the
// tail is the present's и, ый, which only they take among consonant stems (тели: теләү, not телү).
bool ProbeVerbVariants(const TCut& cut, const TProbeText& stem) {
    bool found = ProbeVerbStem(stem);
    const wchar_t last = stem.View().back();
    if (!found && (last == L'к' || last == L'п' || last == L'ү' || last == L'у')) {
        const wchar_t voiced = last == L'к' ? L'г' : last == L'п' ? L'б' : L'в';
        found = ProbeVerbStem(cut.Shortened().Plus(voiced));
    }
    if ((found && !cut.PresentAfterConsonant()) || !cut.Cut() || stem.View() == L"б") {
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
    const TProbeText verb = cut.Shortened().Plus(last == L'ы' ? L'у' : L'ү');
    if (!verb.MayHold()) {
        return false;
    }
    const std::vector<size_t> counts = ProbeCounts();
    if (!verb.Probe(posVerb, 0)) {
        return false;
    }
    const std::wstring stem(cut.Stem());
    KeepNewHits(counts, [&](const wchar_t* headword) { return TatVerbStem(headword).Stem == stem; });
    return ProbeCounts() != counts;
}

// A noun whose last vowel drops before a vowel-initial suffix: халкы, урны (халык, урын).
bool ProbeDroppedVowel(const TCut& cut, uint8_t mask) {
    const std::wstring_view stem = cut.Stem();
    if (!cut.Cut() || cut.N < 3 || !IsVowel(cut.Tail[0]) || !IsConsonant(cut.Last()) ||
        !IsConsonant(cut.BeforeLast())) {
        return false;
    }
    const wchar_t vowel = TatWordHarmony(stem) == kFrontHarmony ? L'е' : L'ы';
    return cut.Shortened().Plus(vowel).Plus(cut.Last()).Probe(mask, 1);
}

bool ProbeNominal(const TCut& cut) {
    const uint8_t mask = cut.Cut() ? dmNominal : dmNotVerb;
    const uint8_t exclude = cut.Cut() ? 1 : 0;
    const wchar_t last = cut.Last();
    const TProbeText stem = cut.StemText();
    bool found = false;
    if (stem.MayBegin()) {
        found = stem.Probe(mask, exclude);
        if (cut.Cut()) {
            found = (stem.Plus(L'ъ').Probe(dmNominal, 1) || stem.Plus(L'ь').Probe(dmNominal, 1)) || found;
            found = (stem.Plus(L'е').Probe(posNumeral, 1) || stem.Plus(L'ы').Probe(posNumeral, 1)) || found;
        }
    }
    if (cut.Cut() && (ClassOf(last) & kHasPartner) != 0) {
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

// A stem of the verb lists, which may differ from its dictionary form before the last letter
// (курык: курку).
bool ProbeListedStem(const TCut& cut) {
    const wchar_t* infinitive = nullptr;
    if (!VerbInfinitiveFromStem(cut.Stem(), infinitive)) {
        for (const TVerbStemPair& pair : IotaVerbStemPairs) {
            if (cut.Stem() == pair.Stem) {
                infinitive = pair.Infinitive;
            }
        }
    }
    return infinitive != nullptr &&
           DictCollectMatches(infinitive, std::wcslen(infinitive), langTatar, posVerb, cut.Cut() ? 1 : 0);
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

// The tail's chain of a part of speech, left in the current suffix chain. Adjectives and numerals
// used as nouns take the noun's suffixes: the noun table stands in where theirs has no chain that
// names the suffixes.
bool FindChain(std::wstring_view stem, std::wstring_view tail, TPartOfSpeech part) {
    ClearTaileChain();
    const bool own = LookupTaileChain(tail, part) && TatTailFitsStem(stem, tail, CurrentTaile);
    const bool nounLike = part == posAdjective || part == posNumeral;
    if (own && (!CurrentTaile.empty() || !nounLike)) {
        return true;
    }
    ClearTaileChain();
    if (nounLike && LookupTaileChain(tail, posNoun) && TatTailFitsStem(stem, tail, CurrentTaile)) {
        return true;
    }
    ClearTaileChain();
    return own && LookupTaileChain(tail, part);
}

// A consonant stem before the present's и, ый: the verb must have lost an а, ә (ашый: ашау) or have
// a stem in ы, е (укый: уку). The first person's м may follow the imperative's ый as well (барыйм).
bool NeedsLostVowel(const TCut& cut, TPartOfSpeech part) {
    if (part != posVerb || CurrentTaile.empty() || !cut.PresentAfterConsonant()) {
        return false;
    }
    const TTaileRec& first = *CurrentTaile.front();
    return first.FormCode == 24 && (CurrentTaile.size() < 2 || CurrentTaile[1]->RuleId != 90);
}

bool HasLostVowel(std::wstring_view stem, const wchar_t* headword) {
    const std::wstring verb = headword;
    const std::wstring s(stem);
    if (verb == s + L"ау" || verb == s + L"әү" || verb == L"баю") {
        return true; // баю has forms of its own: байый
    }
    const std::wstring own = TatVerbStem(verb).Stem;
    return own == s + L"ы" || own == s + L"е";
}

bool HitFits(const TDictHandle& dict, int32_t hit, TPartOfSpeech part, const TCut& cut, bool lostVowel) {
    return PosFlagsMatch(dict.Entry(hit), part) && (!lostVowel || HasLostVowel(cut.Stem(), dict.Headword(hit)));
}

// The part of speech of one pass: the first probe hit with a part of speech whose chain for the
// tail follows the stem and takes the hit. Each part-of-speech bit of the hit is tried, so that an
// entry marked as noun and verb is found with the suffixes of either.
bool ChoosePartOfSpeech(const TCut& cut, TPartOfSpeech& chosen, bool& lostVowel) {
    for (const TDictHandle& dict : LangGroups[langTatar]) {
        for (const int32_t hit : dict.Probe) {
            const uint8_t flags = dict.Entry(hit).Flags;
            for (const TPartOfSpeechInfo& part : InflectingParts) {
                if ((flags & part.Code) == 0 || !FindChain(cut.Stem(), cut.Tail, part.Code)) {
                    continue;
                }
                lostVowel = NeedsLostVowel(cut, part.Code);
                if (HitFits(dict, hit, part.Code, cut, lostVowel)) {
                    chosen = part.Code;
                    return true;
                }
                ClearTaileChain();
            }
        }
    }
    return false;
}

// Moves the probe hits that fit the tail into Accepted: all for the uncut word, else those of the
// pass's part of speech.
bool FilterPass(const TCut& cut) {
    TLangGroup& group = LangGroups[langTatar];
    if (!cut.Cut()) {
        for (TDictHandle& dict : group) {
            dict.Accepted.insert(dict.Accepted.end(), dict.Probe.begin(), dict.Probe.end());
            dict.Probe.clear();
        }
        return true;
    }
    TPartOfSpeech part;
    bool lostVowel = false;
    if (!ChoosePartOfSpeech(cut, part, lostVowel)) {
        return false;
    }
    bool accepted = false;
    for (TDictHandle& dict : group) {
        auto rest = dict.Probe.begin();
        for (const int32_t hit : dict.Probe) {
            if (HitFits(dict, hit, part, cut, lostVowel)) {
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

// An ending that names no suffix fits the stem as its first suffix would by the rule rows: an
// opening vowel after a consonant (or a у, ү or и said with a consonant), п after a vowel, г, д
// after a vowel or a voiced letter, к, т after a voiceless one, нн, нд after a possessed stem.
bool EndingFitsStem(std::wstring_view stem, std::wstring_view tail) {
    if (stem.empty() || tail.empty()) {
        return true;
    }
    const wchar_t last = stem.back();
    const uint32_t end = TatLastLetterClass(stem);
    const wchar_t first = tail[0];
    switch (first) {
    case L'я':
    case L'ю':
        return IsVowel(last);
    case L'ы':
    case L'е':
    case L'а':
    case L'ә':
        return (end & kConsonant) != 0 || (ClassOf(last) & kLetterU) != 0 || last == L'и';
    case L'п':
        return IsVowel(last);
    case L'г':
    case L'д':
        return (end & (kVowel | kVoicedConsonant | kNasalConsonant)) != 0;
    case L'к':
    case L'т':
        return (end & kVoicelessConsonant) != 0;
    case L'н':
        return tail.size() < 2 || !IsConsonant(tail[1]) || last == L'ы' || last == L'е';
    default:
        return true;
    }
}

} // namespace

bool TatTailFitsStem(std::wstring_view stem, std::wstring_view tail, const TTaile& chain) {
    if (chain.empty()) {
        return EndingFitsStem(stem, tail);
    }
    const TTaileRec& first = *chain.front();
    const wchar_t last = stem.empty() ? 0 : stem.back();
    if (first.PartOfSpeech == posNoun && (first.RuleId == 25 || first.RuleId == 19 || first.RuleId == 20)) {
        return last == L'ы' || last == L'е'; // the н of a possessed stem: тавын, туена, not түбә-н
    }
    if (TaileFitsBase(stem, first)) {
        return true;
    }
    if (!tail.empty() && (tail[0] == L'я' || tail[0] == L'ю') && IsVowel(last)) {
        return true; // куя, сөяр: the stem's й is in the tail's first letter
    }
    return first.PartOfSpeech == posNoun && (first.FormCode == 7 || first.FormCode == 8) && last == L'и' &&
           (first.FlagsA & kConsonant) != 0 && TatWordHarmony(stem) == kFrontHarmony; // әнием
}

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
    size_t length = 0;
    while (word != nullptr && length <= kMaxWordLength && word[length] != 0) {
        ++length;
    }
    if (length == 0 || length > kMaxWordLength) {
        analyses.clear();
        return false;
    }
    // The caller's word is never touched: the probes build their texts apart.
    static TLookupWord lookup;
    lookup.Set(word, length);
    const std::wstring& text = lookup.Text();
    size_t letters = length;
    while (letters > 0 && IsLetter(text[letters - 1])) {
        --letters;
    }
    uint64_t end = TTableTailes::EndStart();
    for (size_t i = 0; i < length; ++i) {
        const size_t n = length - i;
        if (n <= letters) {
            break; // the stem would end in a non-letter
        }
        uint8_t tables = 0xFF;
        if (i > 0) {
            end = TTableTailes::EndBack(end, text[n]);
            const uint8_t holds = TableTailes.EndHolds(end);
            if (holds == 0) {
                break; // no ending ends so, nor does a longer one
            }
            tables = holds & static_cast<uint8_t>(~TTableTailes::kLongerEnding);
            if (tables == 0) {
                continue;
            }
        }
        // Every probe but those of the verb lists begins with the stem less its last letter.
        const TCut cut{lookup, n, std::wstring_view(text).substr(n), tables, TLookupWord::AnyBegins(lookup.Prefix(n - 1))};
        DictResetHits(langTatar);
        ClearTaileChain();
        if (!TryStem(cut)) {
            continue;
        }
        // Each pass takes the hits of one part of speech out of the probe lists, so the passes end.
        while (TatHasCandidates()) {
            if (!FilterPass(cut)) {
                break;
            }
            result.Language = langTatar;
            result.Word.assign(text, 0, kMaxWordLength);
            if (used == analyses.size()) {
                analyses.emplace_back();
            }
            TBaseSearchResult& analysis = analyses[used++];
            analysis.Dictionaries.clear();
            analysis.Taile.clear();
            DictBuildResults(text.c_str(), n, analysis, langTatar);
            CopyTaileChain(analysis.Taile);
            // The chain was found to follow the stem; the note's own test knows fewer spellings.
            DictBuildGrammarNote(analysis);
            ClearTaileChain();
        }
    }
    analyses.resize(used);
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
