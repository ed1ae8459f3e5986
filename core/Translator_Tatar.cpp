// Tatar lookup: the word is cut at every point from its end; each stem is probed in the
// dictionaries with the sound alternations Tatar stems undergo before suffixes, and the tail must
// be a suffix chain of the stem's part of speech.

#include <algorithm>
#include <string>
#include <string_view>

#include "core/GP_DATA.h"
#include "core/PartsOfSpeech.h"
#include "core/TableTailes.h"
#include "core/Translator.h"
#include "core/win32/SystemText.h"

namespace {

bool Probe(std::wstring_view text, uint8_t mask, uint8_t exclude) {
    return DictCollectMatches(text.data(), text.size(), langTatar, mask, exclude);
}

bool Probe(const std::wstring& word, size_t n, uint8_t mask, uint8_t exclude) {
    return DictCollectMatches(word.c_str(), n, langTatar, mask, exclude);
}

// A stem with a letter added or its last letter replaced, kept on the stack: the probes run for
// every cut of every word looked up, so they make no heap copies.
class StemText {
public:
    explicit StemText(std::wstring_view stem) : length_(std::min(stem.size(), kMaxWordLength)) {
        stem.copy(text_, length_);
    }
    StemText Plus(wchar_t letter) const {
        StemText longer = *this;
        longer.text_[longer.length_++] = letter;
        return longer;
    }
    StemText WithLast(wchar_t letter) const {
        StemText other = *this;
        other.text_[other.length_ - 1] = letter;
        return other;
    }
    std::wstring_view View() const { return std::wstring_view(text_, length_); }

private:
    wchar_t text_[kMaxWordLength + 1];
    size_t length_;
};

// False only when no Tatar headword begins with the text: then no probe of the text with letters
// added can find anything.
bool AnyMayBegin(std::wstring_view text) {
    const uint64_t state = THeadwordSet::Extend(THeadwordSet::Start(), text.data(), text.size());
    for (const TDictHandle& dict : LangGroups[langTatar]) {
        if (!dict.Headwords || dict.Headwords->MayBegin(state)) {
            return true;
        }
    }
    return false;
}

wchar_t Partner(wchar_t c) {
    return static_cast<wchar_t>(TatLetterClass(c) >> 16);
}

// Replaces the stem's last letter for the life of the object.
class LetterSwap {
public:
    LetterSwap(std::wstring& word, size_t at, wchar_t letter) : word_(word), at_(at), saved_(word[at]) {
        word_[at_] = letter;
    }
    ~LetterSwap() { word_[at_] = saved_; }
    LetterSwap(const LetterSwap&) = delete;
    LetterSwap& operator=(const LetterSwap&) = delete;

private:
    std::wstring& word_;
    size_t at_;
    wchar_t saved_;
};

// The part of speech of one pass: the first probe hit whose category byte has a suffix chain for
// the tail that can follow the stem. Each part-of-speech bit of the byte is tried in turn, so that
// an entry marked as noun and verb is found with the suffixes of either, and a chain that cannot
// follow the stem does not use up the hits another part of speech would accept.
bool ChoosePartOfSpeech(std::wstring_view stem, std::wstring_view tail, TPartOfSpeech& chosen) {
    for (const TDictHandle& dict : LangGroups[langTatar]) {
        for (const int32_t hit : dict.Probe) {
            const uint8_t flags = dict.Entry(hit).Flags;
            for (const TPartOfSpeechInfo& part : InflectingParts) {
                if ((flags & part.Code) != 0 && LookupTaileChain(tail, part.Code) &&
                    TaileFitsBase(stem, *CurrentTaile.front())) {
                    chosen = part.Code;
                    return true;
                }
                ClearTaileChain();
            }
        }
    }
    return false;
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

bool TatProbeSignStem(const std::wstring& word, size_t n) {
    if (!AnyMayBegin(std::wstring_view(word.data(), n))) {
        return false;
    }
    const StemText stem(std::wstring_view(word.data(), n));
    return Probe(stem.Plus(L'ъ').View(), dmNominal, 1) || Probe(stem.Plus(L'ь').View(), dmNominal, 1);
}

bool TatProbeNumeralStem(const std::wstring& word, size_t n) {
    if (!AnyMayBegin(std::wstring_view(word.data(), n))) {
        return false;
    }
    const StemText stem(std::wstring_view(word.data(), n));
    return Probe(stem.Plus(L'е').View(), posNumeral, 1) || Probe(stem.Plus(L'ы').View(), posNumeral, 1);
}

bool TatProbeVerbStem(std::wstring_view stem) {
    if (!AnyMayBegin(stem)) {
        return false;
    }
    const StemText text(stem);
    return Probe(text.Plus(L'ү').View(), posVerb, 0) || Probe(text.Plus(L'у').View(), posVerb, 0) ||
           (stem == L"ба" && Probe(std::wstring_view(L"баю"), posVerb, 0));
}

bool TatProbeVerbVariants(std::wstring& word, size_t n) {
    const std::wstring_view stem(word.data(), n);
    if (TatProbeVerbStem(stem)) {
        return true;
    }
    const wchar_t last = stem.back();
    if (last == L'к' || last == L'п' || last == L'ү' || last == L'у') {
        const wchar_t voiced = last == L'к' ? L'г' : last == L'п' ? L'б' : L'в';
        if (TatProbeVerbStem(StemText(stem).WithLast(voiced).View())) {
            return true;
        }
    }
    if (n > 1 && stem[n - 2] == L'а' && (last == L'й' || last == L'е')) {
        if (Probe(StemText(stem).WithLast(L'ю').View(), posVerb, 0)) {
            return true;
        }
    }
    if (n == 1 && stem == L"б") {
        return false;
    }
    if (n < word.size()) {
        const wchar_t next = word[n];
        if ((TatLetterClass(next) & kLetterU) != 0 || next == L'а' || next == L'ә') {
            return false;
        }
    }
    const StemText text(stem);
    return TatProbeVerbStem(text.Plus(L'а').View()) || TatProbeVerbStem(text.Plus(L'ә').View());
}

bool TatTryStem(std::wstring& word, size_t n, bool cut) {
    const uint8_t nominal = cut ? dmNominal : dmNotVerb;
    const uint8_t exclude = cut ? 1 : 0;
    const size_t lastAt = n - 1;
    const wchar_t last = word[lastAt];
    bool found = Probe(word, n, nominal, exclude);
    if (cut) {
        found = TatProbeSignStem(word, n) || found;
        found = TatProbeNumeralStem(word, n) || found;
        if ((TatLetterClass(last) & kHasPartner) != 0) {
            LetterSwap swap(word, lastAt, Partner(last));
            found = Probe(word, n, nominal, 1) || found;
            if (!found && last == L'в') {
                LetterSwap toU(word, lastAt, L'ү');
                found = Probe(word, n, nominal, 1);
            }
        }
    }
    if (last == L'е') {
        LetterSwap swap(word, lastAt, L'й');
        found = Probe(word, n, posNoun, exclude) || found;
    }
    if (last == L'ю') {
        found = Probe(word, n, posVerb, exclude) || found;
    }
    found = TatProbeVerbVariants(word, n) || found;
    if (cut && n > 1 && (TatLetterClass(last) & kAlternatesBeforeVowel) != 0) {
        LetterSwap swap(word, lastAt, Partner(last));
        found = TatProbeVerbVariants(word, n) || found;
    }
    const wchar_t* infinitive = nullptr;
    if (VerbInfinitiveFromStem(std::wstring_view(word.data(), n), infinitive)) {
        found = Probe(infinitive, posVerb, exclude) || found;
    }
    return found;
}

bool TatFilterByTailes(std::wstring_view stem, std::wstring_view tail, size_t i) {
    TLangGroup& group = LangGroups[langTatar];
    if (i == 0) {
        for (TDictHandle& dict : group) {
            dict.Accepted.insert(dict.Accepted.end(), dict.Probe.begin(), dict.Probe.end());
            dict.Probe.clear();
        }
        return true;
    }
    // One part of speech for the whole pass, over every dictionary of the group.
    TPartOfSpeech part;
    if (!ChoosePartOfSpeech(stem, tail, part)) {
        return false;
    }
    bool accepted = false;
    for (TDictHandle& dict : group) {
        TArrInt rest;
        for (const int32_t hit : dict.Probe) {
            if (PosFlagsMatch(dict.Entry(hit), part)) {
                dict.Accepted.push_back(hit);
                accepted = true;
            } else {
                rest.push_back(hit);
            }
        }
        dict.Probe = std::move(rest);
    }
    return accepted;
}

bool AnalyzeTatar(const wchar_t* word, TLangSearchResult& result) {
    // Analyses of the previous lookup are refilled in place, keeping their buffers: lookups run for
    // every word under the mouse.
    TBaseSearchResults& analyses = result.Results;
    size_t used = 0;
    DictResetHits(langTatar);
    // The caller's word is never touched: the probes swap letters in a copy.
    std::wstring text = word ? word : L"";
    if (text.empty() || text.size() > kMaxWordLength) {
        analyses.clear();
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t n = text.size() - i;
        if (!SystemIsLetter(text[n - 1])) {
            break;
        }
        const std::wstring_view stem(text.data(), n), tail = std::wstring_view(text).substr(n);
        if (i > 0 && !TableTailes.MayEnd(tail)) {
            continue; // no suffix chain ends the word so: no probe of this stem can be accepted
        }
        DictResetHits(langTatar);
        ClearTaileChain();
        if (!TatTryStem(text, n, i > 0)) {
            continue;
        }
        // Each pass takes the hits of one part of speech out of the probe lists, so the passes
        // end. A pass whose suffixes do not fit its stem (a noun яз before сын) must not end the
        // search for the others (the verb язу of язсын).
        while (TatHasCandidates()) {
            if (!TatFilterByTailes(stem, tail, i)) {
                break;
            }
            result.Language = langTatar;
            result.Word.assign(text, 0, kMaxWordLength);
            if (used == analyses.size()) {
                analyses.emplace_back();
            }
            TBaseSearchResult& analysis = analyses[used];
            analysis.Dictionaries.clear();
            analysis.Taile.clear();
            DictBuildResults(text.c_str(), n, analysis, langTatar);
            CopyTaileChain(analysis.Taile);
            if (DictBuildGrammarNote(analysis)) {
                ++used;
            }
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
