#pragma once
// File names and file handles by UTF-16 name.

#include <cstdint>
#include <string>
#include <string_view>

using TFileHandle = void*; // the system's HANDLE
TFileHandle InvalidFileHandle();

// Open modes: bits 0-1 the access, bits 4-7 the sharing granted to other openers.
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
constexpr uint16_t fmShareExclusive = 0x0010;
constexpr uint16_t fmShareDenyWrite = 0x0020;
constexpr uint16_t fmShareDenyRead = 0x0030;
constexpr uint16_t fmShareDenyNone = 0x0040;
constexpr uint16_t fmCreate = 0xFFFF;

// Folder of the running program's file, with a trailing backslash.
std::wstring GetProgramFolder();

// Every LF that does not follow a CR becomes CR LF.
std::wstring WideAdjustLineBreaks(std::wstring_view text);

// Creates (or empties) a file for reading and writing, no sharing; InvalidFileHandle() on failure.
TFileHandle WideFileCreate(const std::wstring& name);
TFileHandle WideFileCreate(const std::wstring& name, int rights);

// Opens an existing file; InvalidFileHandle() on failure or for an invalid mode.
TFileHandle WideFileOpen(const std::wstring& name, uint16_t mode);

std::wstring WideExtractFileName(std::wstring_view name, bool keepExtension);
std::wstring WideExtractFilePath(std::wstring_view name, bool keepBackslash);
