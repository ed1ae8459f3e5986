#include "main/Forms.h"

#include <gtest/gtest.h>

namespace {

class FormsEnvironment : public ::testing::Environment {
public:
    void SetUp() override { FormsInit(); }
    void TearDown() override { FormsDone(); }
};
const auto* const formsEnvironment = ::testing::AddGlobalTestEnvironment(new FormsEnvironment);

class TTestForm : public TForm {
public:
    explicit TTestForm(int width = 300, int height = 200) : TForm(Params(width, height)) {}
    using TForm::AddButton;
    int Commands = 0;

protected:
    void OnCommand(int id, int, HWND) override {
        if (id == 7) {
            ++Commands;
            ModalResult = IDOK;
        }
    }

private:
    static TFormParams Params(int width, int height) {
        TFormParams p;
        p.Caption = L"Сынау";
        p.ClientWidth = width;
        p.ClientHeight = height;
        return p;
    }
};

RECT ClientOf(HWND window) {
    RECT rect = {};
    GetClientRect(window, &rect);
    return rect;
}

} // namespace

TEST(Forms, CentringRoundsHalvesToEven) {
    RECT desktop = {};
    GetWindowRect(GetDesktopWindow(), &desktop);
    const int w = desktop.right - desktop.left, h = desktop.bottom - desktop.top;
    ASSERT_EQ(w % 2, 0);
    // (w - 301) / 2 ends in .5: it goes to the even neighbour.
    const int odd = (w - 301) / 2;
    const POINT p = CentredOnDesktop(301, 100);
    EXPECT_EQ(p.x, odd % 2 == 0 ? odd : odd + 1);
    EXPECT_EQ(CentredOnDesktop(200, 100).x, (w - 200) / 2);
    EXPECT_NEAR(CentredOnDesktop(200, 100).y, (h - 100) / 2.0 - h / 20.0, 0.5);
}

TEST(Forms, ClientSizeIsTheGivenSizeAndTheFormStartsHidden) {
    TTestForm form(321, 123);
    const RECT client = ClientOf(form.Handle());
    EXPECT_EQ(client.right, 321);
    EXPECT_EQ(client.bottom, 123);
    EXPECT_FALSE(form.Showing());
    EXPECT_EQ(form.Caption(), L"Сынау");
}

TEST(Forms, ModalLoopEndsByResultAndRepostsAQuit) {
    TTestForm form;
    HWND button = form.AddButton(L"OK", 10, 10, 80, 24, 7);
    PostMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(form.ShowModal(), IDOK);
    EXPECT_EQ(form.Commands, 1);
    EXPECT_FALSE(form.Showing());

    PostQuitMessage(5);
    EXPECT_EQ(form.ShowModal(), IDCANCEL);
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 5u);
}

TEST(Forms, CloseButtonHidesTheForm) {
    TTestForm form;
    form.Show();
    EXPECT_TRUE(form.Showing());
    SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(form.Showing());
    EXPECT_TRUE(IsWindow(form.Handle()));
}
