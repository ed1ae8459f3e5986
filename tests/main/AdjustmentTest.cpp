#include "main/Adjustment.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/GlobalCustoms.h"
#include "main/InterfaceStrings.h"
#include "tests/main/MainTestSupport.h"
#include "tests/support/TestCustoms.h"

namespace {

class AdjustmentTest : public ::testing::Test {
protected:
    void SetUp() override { form_ = std::make_unique<TForm4>(); }
    void TearDown() override { form_.reset(); }

    // Shows the window as the menu does, without its modal loop.
    void Show() {
        form_->Show();
        ASSERT_TRUE(form_->Showing());
    }
    static bool Checked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    // A click as the mouse gives it: the button's own notification.
    static void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

    TTestCustoms customs_;
    std::unique_ptr<TForm4> form_;
};

TEST_F(AdjustmentTest, ShowingLoadsTheBlockAndClearsShiftWhenScanningIsOff) {
    customs_->ScanEnabled = 0;
    customs_->ScanWithShift = 1;
    customs_->CardMono = 1;
    customs_->CardMaxLines = 40;
    customs_->PopupMaxLines = 99; // out of the popup's range: the field's nearest value
    Show();
    EXPECT_FALSE(Checked(form_->chbScan));
    EXPECT_FALSE(Checked(form_->chbScanShift));
    EXPECT_FALSE(IsWindowEnabled(form_->chbScanShift));
    EXPECT_EQ(customs_->ScanWithShift, 0);
    EXPECT_TRUE(Checked(form_->rb_panCard_Mono));
    EXPECT_FALSE(Checked(form_->rb_panCard_Poly));
    EXPECT_EQ(WindowText(form_->se_Card.Edit()), L"40");
    EXPECT_EQ(WindowText(form_->se_Popup.Edit()), L"32");
    EXPECT_EQ(customs_->PopupMaxLines, 32);
}

TEST_F(AdjustmentTest, EveryChangeGoesToTheBlockAtOnce) {
    customs_->ScanEnabled = 1;
    customs_->ScanWithShift = 0;
    Show();
    Click(form_->chbScanShift);
    EXPECT_EQ(customs_->ScanWithShift, 1);
    Click(form_->chbScan); // off: Shift-only goes off and is disabled
    EXPECT_EQ(customs_->ScanEnabled, 0);
    EXPECT_EQ(customs_->ScanWithShift, 0);
    EXPECT_FALSE(Checked(form_->chbScanShift));
    EXPECT_FALSE(IsWindowEnabled(form_->chbScanShift));
    Click(form_->chbScan);
    EXPECT_EQ(customs_->ScanEnabled, 1);
    EXPECT_TRUE(IsWindowEnabled(form_->chbScanShift));
    Click(form_->rb_panCard_Mono);
    EXPECT_EQ(customs_->CardMono, 1);
    Click(form_->rb_panCard_Poly);
    EXPECT_EQ(customs_->CardMono, 0);
}

TEST_F(AdjustmentTest, TheLineFieldsTakeOnlyValuesInTheirRanges) {
    Show();
    struct Case {
        TSpinEdit& Field;
        const wchar_t* Typed;
        int32_t TGlobalCustoms::*Slot;
        int32_t WrittenWhileTyping; // -1: not written
        int32_t AfterLeaving;
    } cases[] = {
        {form_->se_Card, L"50", &TGlobalCustoms::CardMaxLines, 50, 50},
        {form_->se_Card, L"99", &TGlobalCustoms::CardMaxLines, -1, 64},
        {form_->se_Card, L"3", &TGlobalCustoms::CardMaxLines, -1, 8},
        {form_->se_Popup, L"20", &TGlobalCustoms::PopupMaxLines, 20, 20},
        {form_->se_Popup, L"40", &TGlobalCustoms::PopupMaxLines, -1, 32},
        {form_->se_Popup, L"", &TGlobalCustoms::PopupMaxLines, -1, 32}, // the last value comes back
    };
    for (const Case& c : cases) {
        SetFocus(c.Field.Edit());
        const int32_t before = customs_.Block().*c.Slot;
        SetWindowTextW(c.Field.Edit(), c.Typed);
        EXPECT_EQ(customs_.Block().*c.Slot, c.WrittenWhileTyping < 0 ? before : c.WrittenWhileTyping) << c.Typed;
        SetFocus(form_->Button1);
        EXPECT_EQ(customs_.Block().*c.Slot, c.AfterLeaving) << c.Typed;
        EXPECT_EQ(WindowText(c.Field.Edit()), std::to_wstring(c.AfterLeaving));
    }
}

TEST_F(AdjustmentTest, HiddenWindowWritesNothingAndFollowsTheLanguage) {
    customs_->ScanEnabled = 1;
    SendMessageW(form_->chbScan, BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageW(form_->Handle(), WM_COMMAND, MAKEWPARAM(TForm4::idchbScan, BN_CLICKED),
                 reinterpret_cast<LPARAM>(form_->chbScan));
    EXPECT_EQ(customs_->ScanEnabled, 1);
    for (const int language : {0, 1}) {
        form_->LocalizeCaptions(language);
        EXPECT_EQ(WindowText(form_->panCard), sTranslationCard[language]);
        EXPECT_EQ(WindowText(form_->chbScanShift), sScanWithShift[language]);
        EXPECT_EQ(WindowText(form_->rb_panCard_Mono), sOneWindow[language]);
        EXPECT_EQ(WindowText(form_->Button1), L"OK");
        EXPECT_EQ(form_->Caption(), L"Настройки");
    }
}

} // namespace
