// The window kit: the object attached before the first handler call and freed once after the
// last, the exception barrier of window procedures and timer callbacks, checked registration.

#include "display/win32/WindowKit.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/Exceptions.h"

namespace {

constexpr wchar_t kClassName[] = L"WindowKitTest_Jyx";
constexpr UINT kDestroySelf = WM_APP; // the handler destroys its own window, then notes it
constexpr UINT kFreed = WM_APP + 1;   // noted by the object's destructor
constexpr UINT kDetached = 0;         // noted for a message that reached the handler without its object

// What the handlers and destructors noted, in order.
std::vector<UINT> notes;
std::vector<std::wstring> reports;

struct TObject {
    bool NcCreateAnswer = true;
    LRESULT CreateAnswer = 0;
    UINT Throws = 0; // the message the handler throws at
    ~TObject() { notes.push_back(kFreed); }
};

LRESULT Handle(TObject& object, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE || message == WM_CREATE || message == WM_DESTROY || message == WM_NCDESTROY) {
        notes.push_back(KitObject<TObject>(window) == &object ? message : kDetached);
    }
    if (message == object.Throws) {
        throw std::runtime_error("handler failed");
    }
    switch (message) {
    case WM_NCCREATE:
        return object.NcCreateAnswer ? KitDefault(window, message, wParam, lParam) : FALSE;
    case WM_CREATE:
        return object.CreateAnswer;
    case kDestroySelf:
        DestroyWindow(window);
        notes.push_back(kDestroySelf);
        return 0;
    default:
        return KitDefault(window, message, wParam, lParam);
    }
}

void FailingTick(HWND, UINT_PTR) {
    throw Exception(L"tick failed");
}

HWND Create(std::unique_ptr<TObject> object, const wchar_t* className = kClassName) {
    TKitWindowParams params;
    params.ClassName = className;
    params.Title = L"kit";
    params.Parent = HWND_MESSAGE;
    return KitCreateWindow(params, std::move(object));
}

class WindowKitTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        TKitClass windowClass;
        windowClass.Name = kClassName;
        KitRegister<TObject, Handle>(windowClass);
    }
    static void TearDownTestSuite() { KitUnregisterClass(kClassName); }

    void SetUp() override {
        notes.clear();
        reports.clear();
        previous_ = SetErrorReport([](const std::wstring& text) { reports.push_back(text); });
    }
    void TearDown() override { SetErrorReport(previous_); }

private:
    TErrorReport previous_ = nullptr;
};

} // namespace

TEST_F(WindowKitTest, TheObjectLivesFromTheFirstHandlerCallToAfterTheLast) {
    const HWND window = Create(std::make_unique<TObject>());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(notes, (std::vector<UINT>{WM_NCCREATE, WM_CREATE}));
    DestroyWindow(window);
    EXPECT_EQ(notes, (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY, kFreed}));
    EXPECT_TRUE(reports.empty());
}

TEST_F(WindowKitTest, AFailedCreationFreesTheObjectOnce) {
    const struct {
        bool NcCreateAnswer;
        LRESULT CreateAnswer;
    } cases[] = {{false, 0}, {true, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.CreateAnswer);
        notes.clear();
        auto object = std::make_unique<TObject>();
        object->NcCreateAnswer = c.NcCreateAnswer;
        object->CreateAnswer = c.CreateAnswer;
        EXPECT_EQ(Create(std::move(object)), nullptr);
        ASSERT_FALSE(notes.empty());
        EXPECT_EQ(notes.front(), static_cast<UINT>(WM_NCCREATE));
        EXPECT_EQ(notes.back(), kFreed);
        EXPECT_EQ(std::count(notes.begin(), notes.end(), kFreed), 1);
        EXPECT_EQ(std::count(notes.begin(), notes.end(), kDetached), 0);
    }

    // A class that is not a kit class takes no object: it is freed at once.
    notes.clear();
    EXPECT_EQ(Create(std::make_unique<TObject>(), L"STATIC"), nullptr);
    EXPECT_EQ(notes, std::vector<UINT>{kFreed});
}

TEST_F(WindowKitTest, AHandlerThatDestroysItsWindowKeepsItsObjectUntilItReturns) {
    const HWND window = Create(std::make_unique<TObject>());
    ASSERT_NE(window, nullptr);
    notes.clear();
    SendMessageW(window, kDestroySelf, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(notes, (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY, kDestroySelf, kFreed}));
}

TEST_F(WindowKitTest, AThrowingHandlerIsReportedOnceAndAnswersWithTheDefault) {
    auto object = std::make_unique<TObject>();
    object->Throws = WM_GETTEXTLENGTH;
    const HWND window = Create(std::move(object));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0), 3); // "kit"
    EXPECT_EQ(reports, std::vector<std::wstring>{L"handler failed"});
    DestroyWindow(window);
}

TEST_F(WindowKitTest, AWindowTheKitDidNotCreateGetsTheDefaultOnly) {
    int foreignData = 0;
    const HWND window = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        GetModuleHandleW(nullptr), &foreignData);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(KitObject<TObject>(window), nullptr);
    DestroyWindow(window);
    EXPECT_TRUE(notes.empty());
}

TEST_F(WindowKitTest, RegisteringAClassTwiceRaises) {
    TKitClass windowClass;
    windowClass.Name = kClassName;
    try {
        KitRegister<TObject, Handle>(windowClass);
        ADD_FAILURE() << "registered twice";
    } catch (const EOSError& e) {
        EXPECT_EQ(e.ErrorCode(), static_cast<unsigned long>(ERROR_CLASS_ALREADY_EXISTS));
    }
}

TEST_F(WindowKitTest, ATimerCallbackThatThrowsIsReported) {
    KitTimer<FailingTick>(nullptr, WM_TIMER, 1, 0);
    EXPECT_EQ(reports, std::vector<std::wstring>{L"tick failed"});
}
