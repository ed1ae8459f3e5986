#pragma once
// The data files the build placed in the programs' folder (QV_BIN_DIR).

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

inline std::vector<unsigned char> ReadBuiltFile(const char* name) {
    std::ifstream in(std::string(QV_BIN_DIR) + "/" + name, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}
