#pragma once
// A file stream opened or created by a UTF-16 file name.

#include <cstdint>
#include <string>

#include "core/Streams.h"

class TUFileStream : public THandleStream {
public:
    // Mode fmCreate creates (or empties) the file; any other mode opens an existing one.
    // Raises EFCreateError / EFOpenError when that fails.
    TUFileStream(const std::wstring& fileName, uint16_t mode);
    TUFileStream(const std::wstring& fileName, int rights, uint16_t mode);
    ~TUFileStream() override;
};
