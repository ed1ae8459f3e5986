#include "main/controls/UndoHistory.h"

#include <gtest/gtest.h>

TEST(UndoHistory, StepsBackAndForthAndForgetsRedoOnANewChange) {
    TUndoHistory history(10);
    history.Record(L"");
    history.Record(L"a");
    history.Record(L"ab");
    EXPECT_EQ(history.Undo(L"abc"), L"ab");
    EXPECT_EQ(history.Undo(L"ab"), L"a");
    EXPECT_EQ(history.Redo(L"a"), L"ab");
    EXPECT_TRUE(history.CanRedo());
    history.Record(L"ab");
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.Redo(L"abx"), L"abx"); // nothing to redo: the text stays
}

TEST(UndoHistory, DepthDropsTheOldestStepsAndZeroSwitchesItOff) {
    TUndoHistory history(2);
    for (const wchar_t* text : {L"1", L"2", L"3"}) {
        history.Record(text);
    }
    EXPECT_EQ(history.Undo(L"4"), L"3");
    EXPECT_EQ(history.Undo(L"3"), L"2");
    EXPECT_FALSE(history.CanUndo());
    history.SetDepth(0);
    EXPECT_FALSE(history.CanRedo());
    history.Record(L"5");
    EXPECT_FALSE(history.CanUndo());
}
