#pragma once
// The block that the capture library TextOutSpy.dll shares with the tray program, byte for byte,
// and the library's one export. The tray program writes its window's handle at offset 0; the
// library writes the captured text and the cursor's place in it, then sends TextOutSpyMessage there.

#include <windows.h>

#include <cstddef>
#include <cstdint>

#if defined(TEXTOUTSPY_BUILD)
#define TEXTOUTSPY_API __declspec(dllexport)
#else
#define TEXTOUTSPY_API __declspec(dllimport)
#endif

inline constexpr wchar_t TextOutSpyBlockName[] = L"StarDictTextOutHookSharedMem";
inline constexpr UINT TextOutSpyMessage = 1324; // the tray program knows it as WM_SPY_TEXT

inline constexpr size_t TextOutSpyTextSize = 256;
// The text keeps a terminating zero inside its field, and each side of the cursor fits a
// 256-byte buffer with its zero.
inline constexpr size_t TextOutSpyMaxTextBytes = TextOutSpyTextSize - 1;
inline constexpr size_t TextOutSpyCompanionFileSize = 256;

#pragma pack(push, 1)
struct TTextOutSpyBlock {
    // The window TextOutSpyMessage goes to, written by the tray program; 0: nobody listens.
    uint32_t TargetWindow;
    uint8_t Unused[32];
    // Written by the library: the bytes of Text before its terminating zero, the text in UTF-8
    // (the part before the cursor, then the part after it), and the cursor's byte offset in it.
    int32_t TextBytes;
    char Text[TextOutSpyTextSize];
    int32_t CursorOffset;
    // The companion module's full name in 8-bit text, zero-filled, written by the tray program.
    char CompanionFileName[TextOutSpyCompanionFileSize];
};
#pragma pack(pop)

static_assert(offsetof(TTextOutSpyBlock, TargetWindow) == 0, "block layout");
static_assert(offsetof(TTextOutSpyBlock, TextBytes) == 36, "block layout");
static_assert(offsetof(TTextOutSpyBlock, Text) == 40, "block layout");
static_assert(offsetof(TTextOutSpyBlock, CursorOffset) == 296, "block layout");
static_assert(offsetof(TTextOutSpyBlock, CompanionFileName) == 300, "block layout");
static_assert(sizeof(TTextOutSpyBlock) == 556, "block layout");

// Window handles keep their meaning in the low 32 bits; the upper half is the sign extension.
inline uint32_t TextOutSpyWindowField(HWND window) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window));
}
inline HWND TextOutSpyFieldWindow(uint32_t field) {
    return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(field)));
}

// Nonzero: watch the mouse and report the text under it when it rests over a text control of
// another process than the target window's. 0: stop watching.
extern "C" TEXTOUTSPY_API void WINAPI ActivateTextOutSpying(int activate);
using TActivateTextOutSpying = void(WINAPI*)(int activate);
