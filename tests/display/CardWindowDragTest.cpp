// The drag selection's auto-scroll: a mouse held below a card scrolls it a line per 50 ms tick
// until its last line, and the timer ends with the button, wherever the button is released.

#include "display/CardWindow.h"
#include "display/ViewMouse.h"

#include "tests/display/CardTestSupport.h"

namespace {

class CardDragTest : public CardTest {
protected:
    void SetUp() override {
        CardTest::SetUp();
        // Away from where the card opens, so no move of the real mouse reaches it.
        MoveCursor({1200, 1000});
        block_.CardMaxLines = 2;
        card_ = CardWindow_Show(L"ай", false, true);
        ASSERT_NE(card_, nullptr);
        ASSERT_GE(Data(card_).ScrollMax, 3);
    }

    // Button pressed with the cursor below the card, and one move with it held there.
    void StartDragBelow() {
        const RECT r = ScreenRect(card_);
        MoveCursor({(r.left + r.right) / 2, r.bottom + 40});
        SendMessageW(card_, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        button_.Press();
        SendMessageW(card_, WM_MOUSEMOVE, MK_LBUTTON, 0);
    }

    // Counts the card's timer ticks and the scroll position each one found.
    TMessageObserver Ticks() {
        return [this](const MSG& message) {
            if (message.message == WM_TIMER && message.hwnd == card_) {
                positions_.push_back(Data(card_).ScrollPos);
                times_.push_back(GetTickCount());
            }
        };
    }

    HWND card_ = nullptr;
    TLeftButton button_;
    std::vector<int32_t> positions_;
    std::vector<DWORD> times_;
};

} // namespace

TEST_F(CardDragTest, HeldBelowTheCardItScrollsALinePerTickToTheLastLine) {
    TWindowData& w = Data(card_);
    StartDragBelow();
    EXPECT_EQ(ViewDragTimerOwner(), card_);
    EXPECT_EQ(w.ScrollPos, 1); // the move itself scrolled one line

    const bool ended = PumpUntil([] { return ViewDragTimerOwner() == nullptr; }, 3000, Ticks());
    ASSERT_TRUE(ended);
    EXPECT_EQ(w.ScrollPos, w.ScrollMax);
    // Every tick found the line the one before had left, and moved one further.
    ASSERT_EQ(positions_.size(), static_cast<size_t>(w.ScrollMax - 1));
    for (size_t k = 0; k < positions_.size(); ++k) {
        EXPECT_EQ(positions_[k], static_cast<int32_t>(k) + 1);
    }
    EXPECT_GE(times_.back() - times_.front(), 40u * (times_.size() - 1));
    EXPECT_EQ(w.CaretLine, w.Layout.LineCount - 1); // the selection followed to the last line

    // The timer is gone: no tick comes any more.
    positions_.clear();
    PumpFor(200, Ticks());
    EXPECT_TRUE(positions_.empty());
    EXPECT_EQ(w.ScrollPos, w.ScrollMax);
}

TEST_F(CardDragTest, ButtonReleasedOutsideTheCardEndsTheDrag) {
    TWindowData& w = Data(card_);
    StartDragBelow();
    ASSERT_TRUE(PumpUntil([this] { return positions_.size() >= 1; }, 2000, Ticks()));
    button_.Release(); // over the desktop: the card never sees this release
    const int32_t at = w.ScrollPos;
    ASSERT_LT(at, w.ScrollMax);

    positions_.clear();
    PumpFor(300, Ticks());
    EXPECT_LE(positions_.size(), 1u); // the tick that found the button up
    EXPECT_EQ(w.ScrollPos, at);
    EXPECT_EQ(ViewDragTimerOwner(), nullptr);
}

TEST_F(CardDragTest, ButtonReleasedOnTheCardKillsTheTimer) {
    TWindowData& w = Data(card_);
    StartDragBelow();
    ASSERT_TRUE(PumpUntil([this] { return positions_.size() >= 1; }, 2000, Ticks()));
    SendMessageW(card_, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(ViewDragTimerOwner(), nullptr);
    const int32_t at = w.ScrollPos;
    ASSERT_LT(at, w.ScrollMax);

    // The button is still held, so a timer left running would go on scrolling.
    positions_.clear();
    PumpFor(300, Ticks());
    EXPECT_TRUE(positions_.empty());
    EXPECT_EQ(w.ScrollPos, at);
}

TEST_F(CardDragTest, ClosingTheCardForgetsItsTimer) {
    StartDragBelow();
    ASSERT_EQ(ViewDragTimerOwner(), card_);
    DestroyWindow(card_);
    EXPECT_EQ(ViewDragTimerOwner(), nullptr);
}
