#include "tests/main/GPTestSupport.h"

#include <gtest/gtest.h>

namespace {

class FormsEnvironment : public ::testing::Environment {
public:
    void SetUp() override { FormsInit(); }
    void TearDown() override { FormsDone(); }
};
const auto* const formsEnvironment = ::testing::AddGlobalTestEnvironment(new FormsEnvironment);

std::vector<std::wstring> Calls;

std::wstring Joined(const wchar_t* part, const std::wstring& word, std::initializer_list<int> codes) {
    std::wstring call = std::wstring(part) + L" " + word;
    for (int code : codes) {
        call += L" " + std::to_wstring(code);
    }
    return call;
}

void RecordNoun(const std::wstring& word, uint8_t caseCode, uint8_t possessor, uint8_t number, TGP_Proc_Rec& rec) {
    Calls.push_back(Joined(L"noun", word, {caseCode, possessor, number}));
    BuildNounForm(word, caseCode, possessor, number, rec);
}

void RecordAdjective(const std::wstring& word, uint8_t degree, TGP_Proc_Rec& rec) {
    Calls.push_back(Joined(L"adj", word, {degree}));
    BuildAdjectiveForm(word, degree, rec);
}

void RecordNumeral(const std::wstring& word, uint8_t caseCode, uint8_t kind, TGP_Proc_Rec& rec) {
    Calls.push_back(Joined(L"num", word, {caseCode, kind}));
    BuildNumeralForm(word, caseCode, kind, rec);
}

void RecordVerb(const std::wstring& word, uint8_t kind, uint8_t tense, uint8_t person, uint8_t number, uint8_t negation,
                TGP_Proc_Rec& rec) {
    Calls.push_back(Joined(L"verb", word, {kind, tense, person, number, negation}));
    BuildVerbForm(word, kind, tense, person, number, negation, rec);
}

} // namespace

TBuilderRecorder::TBuilderRecorder() : previous_(GP_Builders) {
    Calls.clear();
    GP_Builders = {RecordNoun, RecordAdjective, RecordNumeral, RecordVerb};
}

TBuilderRecorder::~TBuilderRecorder() {
    GP_Builders = previous_;
}

std::vector<std::wstring> TBuilderRecorder::Take() {
    return std::exchange(Calls, {});
}

void Click(const TGP_Form& form, TGP_Control button) {
    SendMessageW(form.Control(button), BM_CLICK, 0, 0);
}

bool IsChecked(const TGP_Form& form, TGP_Control button) {
    return SendMessageW(form.Control(button), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsEnabled(const TGP_Form& form, TGP_Control control) {
    return IsWindowEnabled(form.Control(control)) != FALSE;
}

std::vector<TGP_Control> CheckedAmong(const TGP_Form& form, std::initializer_list<TGP_Control> buttons) {
    std::vector<TGP_Control> checked;
    for (TGP_Control button : buttons) {
        if (IsChecked(form, button)) {
            checked.push_back(button);
        }
    }
    return checked;
}

TGP_Control ShownPanel(const TGP_Form& form) {
    TGP_Control shown = TGP_Control::Form;
    int count = 0;
    for (TGP_Control panel :
         {TGP_Control::NounsPanel, TGP_Control::AdjPanel, TGP_Control::DigPanel, TGP_Control::VerbPanel}) {
        if (GetWindowLongPtrW(form.Control(panel), GWL_STYLE) & WS_VISIBLE) {
            shown = panel;
            ++count;
        }
    }
    return count == 1 ? shown : TGP_Control::Form;
}

std::vector<std::wstring> BrowserLines(const TGP_Form& form) {
    std::vector<std::wstring> lines;
    std::wstring line;
    for (wchar_t c : form.TB().Text() + L"\r") {
        if (c == L'\r') {
            lines.push_back(line);
            line.clear();
        } else if (c != 0x00A0) {
            line += c;
        }
    }
    while (!lines.empty() && lines.back().empty()) {
        lines.pop_back();
    }
    return lines;
}
