#include "main/controls/WidgetControl.h"

#include <gtest/gtest.h>

#include "main/controls/QStdCtrls_Qel.h"
#include "tests/main/ControlsTestSupport.h"

TEST(WidgetControl, AnExceptionInAHandlerIsReportedAndTheControlCarriesOn) {
    TErrorCatcher errors;
    TTestHost host;
    TEdit_Qel edit(host.Window());
    int changes = 0;
    edit.OnChange = [&](TObject*) {
        if (++changes == 1) {
            throw EStringListError(L"boom");
        }
    };
    edit.SetText(L"one");
    ASSERT_EQ(TErrorCatcher::Errors(), std::vector<std::wstring>{L"boom"});
    edit.SetText(L"two");
    EXPECT_EQ(edit.Text(), L"two");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(TErrorCatcher::Errors().size(), 1u);
}

// The parent knows nothing of the control: its notifications come back to the control all the same.
TEST(WidgetControl, TheParentReflectsColoursToTheControl) {
    TTestHost host;
    TEdit_Qel edit(host.Window());
    edit.SetColor(RGB(1, 2, 3));
    TOwnedWindowDC dc = GetOwnedWindowDC(edit.Handle());
    for (const UINT message : {WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC}) {
        const LRESULT brush = SendMessageW(host.Window(), message, reinterpret_cast<WPARAM>(dc.Get()),
                                           reinterpret_cast<LPARAM>(edit.Handle()));
        EXPECT_NE(brush, 0);
        EXPECT_EQ(GetBkColor(dc.Get()), RGB(1, 2, 3));
    }
}

TEST(WidgetControl, AControlOutlivesItsParentWindow) {
    auto host = std::make_unique<TTestHost>();
    TMemo_Qel memo(host->Window());
    memo.SetText(L"text");
    host.reset();
    EXPECT_EQ(memo.Handle(), nullptr);
}
