#pragma once
// The error kinds that file, stream and list operations raise. Messages are UTF-16 and
// carry the system's own texts; what() gives them as UTF-8 for logs and test output.

#include <exception>
#include <string>
#include <utility>

class Exception : public std::exception {
public:
    explicit Exception(std::wstring message);
    const std::wstring& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    std::wstring message_;
    std::string utf8_;
};

class EStringListError : public Exception {
public:
    using Exception::Exception;
};

class EStreamError : public Exception {
public:
    using Exception::Exception;
};

class EFOpenError : public EStreamError {
public:
    explicit EFOpenError(std::wstring message, std::wstring fileName = std::wstring())
        : EStreamError(std::move(message)), fileName_(std::move(fileName)) {}
    // The file that could not be opened; empty when the raiser did not say.
    const std::wstring& FileName() const noexcept { return fileName_; }

private:
    std::wstring fileName_;
};

class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// A failed system call: the system's error code with a message that names what failed.
class EOSError : public Exception {
public:
    EOSError(unsigned long code, std::wstring message) : Exception(std::move(message)), code_(code) {}
    unsigned long ErrorCode() const noexcept { return code_; }

private:
    unsigned long code_;
};

// Fills the first "%d" of a message format with a number, and each "%s" in turn with a text.
std::wstring FormatMessageText(const std::wstring& format, long long number);
std::wstring FormatMessageText(const std::wstring& format, const std::wstring& first, const std::wstring& second);

extern const wchar_t* const SListIndexError;      // "List index out of bounds (%d)"
extern const wchar_t* const SSortedListError;     // "Operation not allowed on sorted list"
extern const wchar_t* const SDuplicateString;     // "String list does not allow duplicates"
extern const wchar_t* const SFOpenErrorEx;        // "Cannot open file "%s". %s"
extern const wchar_t* const SFCreateErrorEx;      // "Cannot create file "%s". %s"
extern const wchar_t* const SReadError;           // "Stream read error"
extern const wchar_t* const SWriteError;          // "Stream write error"
