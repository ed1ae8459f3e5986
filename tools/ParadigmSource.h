#pragma once
// The readable source of the Russian paradigms (UTF-8), one paradigm a line:
//   name<TAB>lemma-ending<TAB>forms
// where "_" is an empty ending and each form is "ending" or "prefix+ending". A word of the
// paradigm is stem + lemma-ending; its forms are prefix + stem + ending.

#include <map>
#include <string>
#include <string_view>
#include <vector>

struct Inflection {
    std::wstring Prefix;
    std::wstring Ending;
};

struct Paradigm {
    std::wstring Name;
    std::wstring LemmaEnding;
    std::vector<Inflection> Forms;
};

// Throws DictSourceError ("name:line: what is wrong").
std::vector<Paradigm> ParseParadigmSource(std::string_view utf8, const std::string& sourceName);

// The forms the tables hold for a paradigm: each form of the source, followed by its spellings
// with е for any of its ё (texts mostly write е), without repeats.
std::vector<Inflection> TableForms(const Paradigm& paradigm);

// direct_para.rtb: line k is paradigm k, "LEMMA--/ENDING-PREFIX-/.../".
std::vector<std::wstring> DirectParadigmLines(const std::vector<Paradigm>& paradigms);

// recip_para.rtb: one line per (ending, prefix), "ENDING-PREFIX-/ALT-/.../", sorted by ending
// with the system compare the programs search with.
std::vector<std::wstring> ReciprocalParadigmLines(const std::vector<Paradigm>& paradigms);

// Every inflected form of a word of the paradigm (the lemma itself is not among them).
std::vector<std::wstring> ParadigmForms(const Paradigm& paradigm, const std::wstring& lemma);
