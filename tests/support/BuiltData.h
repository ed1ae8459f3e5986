#pragma once
// The data files the build placed in the programs' folder (QV_BIN_DIR).

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// A file of that folder as Wine names it: the build's Unix path on drive Z.
inline std::wstring BuiltPath(const std::wstring& name) {
    std::wstring path = L"Z:";
    for (const char c : std::string(QV_BIN_DIR)) {
        path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    }
    return path + L"\\" + name;
}

inline std::vector<unsigned char> ReadBuiltFile(const char* name) {
    std::ifstream in(std::string(QV_BIN_DIR) + "/" + name, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}
