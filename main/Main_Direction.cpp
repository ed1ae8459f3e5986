// The main window's direction, dictionary and entry, kept in the shared block.

#include <algorithm>

#include "core/DictImage.h"
#include "core/GlobalCustoms.h"
#include "main/InterfaceStrings.h"
#include "main/Main.h"

namespace {

constexpr int kShareNumbers = 256;

// The dictionary index of a direction, or -1 when the group has no such dictionary.
int32_t CheckedDict(TLanguage direction, int32_t dict) {
    const auto count = static_cast<int32_t>(LangGroups[direction].size());
    return dict >= 0 && dict < count ? dict : -1;
}

} // namespace

void OpenDictionarySet() {
    const TGlobalCustoms* block = SharedCustoms();
    if (block == nullptr) {
        return;
    }
    for (int id = 0; id < kShareNumbers; ++id) {
        if (SharedDictIsSet(*block, id)) {
            OpenDictionaryMapping(static_cast<uint8_t>(id));
        }
    }
}

TLanguage OtherDirection() {
    return LanguageOf(SharedCustomsOrDefaults().SourceLang) == langTatar ? langRussian : langTatar;
}

void TForm1::SelectDictionary(TLanguage direction, int32_t dict, int32_t entry) {
    if (CheckedDict(direction, dict) < 0) {
        return;
    }
    if (IsWindowVisible(Handle())) {
        SetFocus(Handle());
    }
    LastDictOfDirection[direction] = dict;
    TDictHandle& handle = LangGroups[direction][static_cast<size_t>(dict)];
    Handler.Attach(handle, dict);
    Handler.ClearEdit();
    if (entry < 0 || handle.EntryCount <= 0) {
        return;
    }
    entry = std::min(entry, handle.EntryCount - 1);
    handle.CurEntry = entry;
    // The text runs the list's search, which finds the first entry of that headword ...
    Edit1->SetText(Handler.Headword(entry));
    // ... and a later homonym is the one asked for.
    if (Handler.Current != entry) {
        Handler.SelectEntry(entry);
    }
    if (IsWindowVisible(Handle())) {
        TB.SetFocus();
    }
}

void TForm1::AddDictionaryTitles() {
    CB->Items().Clear();
    for (const TDictHandle& dict : LangGroups[direction_]) {
        CB->Items().Add(std::wstring(DictImageTitle(dict.View), 0, DictLayout::TextFieldUnits));
    }
}

void TForm1::FillDictionaryCombo() {
    LastDictOfDirection[langTatar] = 0;
    LastDictOfDirection[langRussian] = 0;
    direction_ = LanguageOf(SharedCustomsOrDefaults().SourceLang);
    AddDictionaryTitles();
    // The block's values come from the other process and from the settings file.
    const TGlobalCustoms& block = SharedCustomsOrDefaults();
    const int32_t dict = std::max(CheckedDict(direction_, block.CurDict), 0);
    CB->SetItemIndex(dict);
    SelectDictionary(direction_, dict, block.CurEntry);
    EnableGenerator();
}

void TForm1::RefillDictionaryCombo() {
    direction_ = LanguageOf(SharedCustomsOrDefaults().SourceLang);
    AddDictionaryTitles();
    const int32_t dict = std::max(CheckedDict(direction_, LastDictOfDirection[direction_]), 0);
    CB->SetItemIndex(dict);
    if (TGlobalCustoms* block = SharedCustoms()) {
        block->CurDict = dict;
    }
    if (CheckedDict(direction_, dict) >= 0) {
        SelectDictionary(direction_, dict, LangGroups[direction_][static_cast<size_t>(dict)].CurEntry);
    } else {
        Handler.Detach();
    }
    EnableGenerator();
}

void TForm1::CBOnClick(TObject*) {
    const int32_t dict = CheckedDict(direction_, CB->ItemIndex());
    if (dict < 0) {
        return;
    }
    if (TGlobalCustoms* block = SharedCustoms()) {
        block->CurDict = dict;
    }
    LastDictOfDirection[direction_] = dict;
    SelectDictionary(direction_, dict, LangGroups[direction_][static_cast<size_t>(dict)].CurEntry);
    MainWord = Edit1->Text();
}

void TForm1::btnLangClick() {
    TGlobalCustoms* block = SharedCustoms();
    if (block == nullptr) {
        return;
    }
    const TLanguage source = OtherDirection();
    block->SourceLang = source;
    block->TargetLang = source == langTatar ? langRussian : langTatar;
    ShowDirectionLabels();
    if (source == langRussian) {
        // The generator builds Tatar words only.
        for (const int language : {0, 1}) {
            if (TForm* generator = GeneratorForm(language)) {
                generator->Hide();
            }
        }
    }
    RefillDictionaryCombo();
    EnableWindow(btnLang, !LangGroups[OtherDirection()].empty());
}

void TForm1::ResyncFromShared() {
    const TGlobalCustoms& block = SharedCustomsOrDefaults();
    // Only a dictionary of the direction the window shows, by an index that exists.
    if (!IsLanguage(block.SourceLang) || block.SourceLang != direction_) {
        return;
    }
    const int32_t dict = CheckedDict(direction_, block.CurDict);
    if (dict < 0) {
        return;
    }
    CB->SetItemIndex(dict);
    SelectDictionary(direction_, dict, block.CurEntry);
}

void TForm1::ShowDirectionLabels() {
    const TLanguage source = LanguageOf(SharedCustomsOrDefaults().SourceLang);
    SetWindowTextW(lbOrigLang, LangShortName[source]);
    SetWindowTextW(lbTransLang, LangShortName[source == langTatar ? langRussian : langTatar]);
}

void TForm1::EnableGenerator() {
    const bool tatar = LanguageOf(SharedCustomsOrDefaults().SourceLang) == langTatar;
    EnableWindow(btnGP, tatar);
    EnableMenuItem(transMenu_, idMMTrans_GP, MF_BYCOMMAND | (tatar ? MF_ENABLED : MF_GRAYED));
}
