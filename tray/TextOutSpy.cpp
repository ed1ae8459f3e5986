#include "tray/TextOutSpy.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/GlobalCustoms.h"
#include "core/win32/OwnedHandle.h"
#include "tray/PopupWindow.h"

namespace {

// Each side of the cursor must fit a 256-byte work buffer with its terminating zero.
constexpr int32_t kMaxPartBytes = static_cast<int32_t>(TextOutSpyMaxTextBytes);
constexpr size_t kMaxWideUnits = 254;
const char kCompanionName[] = "TextOutHook.DLL";

struct TLegacyLetter {
    wchar_t Found;
    wchar_t Tatar;
};
// Tatar letters typed in old 8-bit fonts, applied in this order. The word is lower case by then,
// so і stands for the small letter.
const TLegacyLetter kLegacyLetters[] = {
    {L'\x0452', L'\x04D9'}, {L'\x0402', L'\x04D8'}, {L'\x0459', L'\x04E9'}, {L'\x0409', L'\x04E8'},
    {L'\x045B', L'\x04A3'}, {L'\x040B', L'\x04A2'}, {L'\x045A', L'\x04AF'}, {L'\x040A', L'\x04AE'},
    {L'\x045C', L'\x0497'}, {L'\x040C', L'\x0496'}, {L'\x045F', L'\x04BB'}, {L'\x040F', L'\x04BA'},
    {L'\x00AC', L'\x04D8'}, {L'\x0491', L'\x04D9'}, {L'\x0456', L'\x04B9'},
};

TOwnedMapping hookMapping;
TOwnedView hookView;
TTextOutSpyBlock* hookBlock = nullptr;
TActivateTextOutSpying activation = ActivateTextOutSpying;

// The capture state of the tray program. The popup unit keeps its own current popup: a popup
// that fails closes with its own notice, which must not clear the last word.
std::wstring lastWord;
HWND trayPopup = nullptr;
bool firstPopup = true;

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// One UTF-8 sequence at bytes[i] as a code point; 0 bytes used when it is malformed or cut.
size_t DecodeOne(const unsigned char* bytes, size_t size, size_t i, uint32_t& code) {
    const unsigned char lead = bytes[i];
    size_t length = 0;
    uint32_t minimum = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > size) {
        return 0;
    }
    for (size_t k = 1; k < length; ++k) {
        if (!IsContinuation(bytes[i + k])) {
            return 0;
        }
        code = (code << 6) | (bytes[i + k] & 0x3F);
    }
    // Overlong forms, surrogates and code points past Unicode are no characters.
    if (code < minimum || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
        return 0;
    }
    return length;
}

// Lower case, then the letters left of the cursor and the letters and hyphens from there on;
// hyphens that end the word (a word broken at the line's end) are not part of it.
std::wstring WordAtCursor(std::wstring text, size_t cursor) {
    if (text.empty()) {
        return std::wstring();
    }
    CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    size_t start = std::min(cursor, text.size());
    while (start > 0 && IsCharAlphaW(text[start - 1])) {
        --start;
    }
    size_t end = start;
    while (end < text.size() && (IsCharAlphaW(text[end]) || text[end] == L'-')) {
        ++end;
    }
    while (end > start && text[end - 1] == L'-') {
        --end;
    }
    std::wstring word = text.substr(start, end - start);
    for (const TLegacyLetter& letter : kLegacyLetters) {
        std::replace(word.begin(), word.end(), letter.Found, letter.Tatar);
    }
    return word;
}

// The dictionary's own windows hold no text to translate: the library leaves this program's alone,
// and the main program's are left here, where its window is known.
bool OverMainProgram(const TGlobalCustoms& block) {
    const HWND main = static_cast<HWND>(LongToHandle(block.MainMesgWindow));
    DWORD mainProcess = 0;
    DWORD underCursor = 0;
    POINT cursor = {};
    return main != nullptr && GetWindowThreadProcessId(main, &mainProcess) != 0 && GetCursorPos(&cursor) &&
           GetWindowThreadProcessId(WindowFromPoint(cursor), &underCursor) != 0 && underCursor == mainProcess;
}

std::string ProgramFileName() {
    std::vector<char> name(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length < name.size()) {
            return std::string(name.data(), length);
        }
        name.resize(name.size() * 2);
    }
}

} // namespace

void* StartTextCapture() {
    activation(1);
    hookBlock = OpenHookBlock();
    if (hookBlock != nullptr) {
        WriteCompanionFileName(*hookBlock, ProgramFileName());
    }
    return hookBlock;
}

TTextOutSpyBlock* OpenHookBlock() {
    hookView.Reset();
    hookMapping.Reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(TTextOutSpyBlock),
                                         TextOutSpyBlockName));
    if (!hookMapping) {
        return nullptr;
    }
    hookView.Reset(MapViewOfFile(hookMapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
    MEMORY_BASIC_INFORMATION region = {};
    // A block made elsewhere with less than the layout is not read at all.
    if (!hookView || VirtualQuery(hookView.Get(), &region, sizeof region) == 0 ||
        region.RegionSize < sizeof(TTextOutSpyBlock)) {
        hookView.Reset();
        hookMapping.Reset();
        return nullptr;
    }
    return static_cast<TTextOutSpyBlock*>(hookView.Get());
}

void CloseHookBlock() {
    if (hookBlock == hookView.Get()) {
        hookBlock = nullptr;
    }
    hookView.Reset();
    hookMapping.Reset();
}

TTextOutSpyBlock* HookBlock() {
    return hookBlock;
}

void SetHookBlock(TTextOutSpyBlock* block) {
    hookBlock = block;
}

TActivateTextOutSpying SetCaptureActivation(TActivateTextOutSpying activate) {
    const TActivateTextOutSpying previous = activation;
    activation = activate != nullptr ? activate : ActivateTextOutSpying;
    return previous;
}

void WriteCompanionFileName(TTextOutSpyBlock& block, std::string_view programFile) {
    const size_t folder = programFile.find_last_of("\\/");
    std::string name(folder == std::string_view::npos ? std::string_view() : programFile.substr(0, folder + 1));
    name += kCompanionName;
    std::memset(block.CompanionFileName, 0, sizeof block.CompanionFileName);
    std::memcpy(block.CompanionFileName, name.data(), std::min(name.size(), sizeof block.CompanionFileName - 1));
}

std::wstring CaptureBufferToWide(const char* buffer, size_t size) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer);
    const size_t end = std::find(bytes, bytes + size, 0) - bytes;
    std::wstring text;
    size_t i = 0;
    uint32_t code = 0;
    while (i < end) {
        const size_t used = DecodeOne(bytes, end, i, code);
        const size_t units = code > 0xFFFF ? 2 : 1;
        if (used == 0 || text.size() + units > kMaxWideUnits) {
            break;
        }
        if (units == 2) {
            code -= 0x10000;
            text += static_cast<wchar_t>(0xD800 + (code >> 10));
            text += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
        } else {
            text += static_cast<wchar_t>(code);
        }
        i += used;
    }
    return text;
}

bool ExtractCapturedWord(const TTextOutSpyBlock& block, const std::wstring& last, std::wstring& newWord) {
    newWord.clear();
    // Everything is copied once: the other process may write the block meanwhile.
    int32_t count = 0;
    int32_t cursor = 0;
    std::memcpy(&count, &block.TextBytes, sizeof count);
    std::memcpy(&cursor, &block.CursorOffset, sizeof cursor);
    if (count < 0 || count > static_cast<int32_t>(TextOutSpyTextSize) || cursor < 0 || cursor > count ||
        cursor > kMaxPartBytes || count - cursor > kMaxPartBytes) {
        return false;
    }
    char before[TextOutSpyTextSize] = {};
    char after[TextOutSpyTextSize] = {};
    std::memcpy(before, block.Text, static_cast<size_t>(cursor));
    std::memcpy(after, block.Text + cursor, static_cast<size_t>(count - cursor));
    const std::wstring left = CaptureBufferToWide(before, sizeof before);
    newWord = WordAtCursor(left + CaptureBufferToWide(after, sizeof after), left.size());
    return !newWord.empty() && newWord != last;
}

void HandleSpyText(HWND) {
    const TGlobalCustoms* block = SharedCustoms();
    if (block == nullptr || block->ScanSuppressed != 0) {
        return;
    }
    // The physical key: the keyboard input goes to the program being read, never to this thread.
    if (block->ScanWithShift != 0 && GetAsyncKeyState(VK_SHIFT) >= 0) {
        return;
    }
    std::wstring word;
    if (block->ScanEnabled == 0 || hookBlock == nullptr || OverMainProgram(*block) ||
        !ExtractCapturedWord(*hookBlock, lastWord, word)) {
        return;
    }
    trayPopup = nullptr;
    trayPopup = PopupWindow_Show(word.c_str());
    if (trayPopup == nullptr) {
        return; // nothing found: the last word stays
    }
    lastWord = word;
    if (firstPopup) {
        firstPopup = false;
        // Raised without being activated: the keyboard stays with the program the user types in.
        SetWindowPos(trayPopup, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SendMessageW(trayPopup, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    }
}

void HandlePopupClosed(HWND popup) {
    if (popup != nullptr && popup == trayPopup) {
        lastWord.clear();
    }
}

const std::wstring& LastCapturedWord() {
    return lastWord;
}

HWND TrayCurrentPopup() {
    return trayPopup;
}

void ResetCaptureState() {
    lastWord.clear();
    trayPopup = nullptr;
    firstPopup = true;
}
