#pragma once
// Support of the paradigm generator windows' tests: the form class registered for the run,
// builders that record every call before building, and clicks and text as the user gives them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main/GP.h"
#include "main/Main.h"
#include "tests/main/ControlsTestSupport.h"

// Replaces the builders while it lives; each call is recorded as "noun китап 1 0 1",
// "adj ак 2", "num ике 1 4" or "verb бару 5 1 1 1 0" and then built by the real builder.
class TBuilderRecorder {
public:
    TBuilderRecorder();
    ~TBuilderRecorder();
    TBuilderRecorder(const TBuilderRecorder&) = delete;
    TBuilderRecorder& operator=(const TBuilderRecorder&) = delete;

    // The calls since the last Take, which empties the list.
    std::vector<std::wstring> Take();

private:
    TGP_Builders previous_;
};

using TCalls = std::vector<std::wstring>;

// A fresh Russian window with recorded builders; the main window's word unchanged; no error reported.
class GPWindow : public ::testing::Test {
protected:
    void SetUp() override {
        MainWord.clear();
        MainWordChanged = false;
    }
    void TearDown() override { EXPECT_TRUE(TErrorCatcher::Errors().empty()); }

    TErrorCatcher errors;
    TBuilderRecorder recorder;
    TGP_Form form{langRussian};
};

// A click on a button as the mouse gives it: the button's own notification.
void Click(const TGP_Form& form, TGP_Control button);
bool IsChecked(const TGP_Form& form, TGP_Control button);
bool IsEnabled(const TGP_Form& form, TGP_Control control);
// The buttons among these that are checked, in the given order.
std::vector<TGP_Control> CheckedAmong(const TGP_Form& form, std::initializer_list<TGP_Control> buttons);
// The one panel of the four that is shown; TGP_Control::Form when not exactly one is.
TGP_Control ShownPanel(const TGP_Form& form);

// The browser's lines, without the non-breaking spaces that indent them; no empty last line.
std::vector<std::wstring> BrowserLines(const TGP_Form& form);
