#pragma once
// Runs in a compact text form for table-driven tests, and the test data of tests/data/html.

#include <string>
#include <vector>

#include "main/html/HtmlReader.h"

// Each text run is its text, preceded by its style in brackets whenever that differs from the
// previous text run's: "[b i u #RRGGBB sN]" with only what differs from the default ("[]" for the
// default). A line break is '|', a hard blank '~'.
std::wstring DescribeRuns(const std::vector<THtmlRun>& runs);

// UTF-8, for failure messages.
std::string Narrow(const std::wstring& text);

// A UTF-8 file of tests/data/html as UTF-16; empty when it cannot be read.
std::wstring ReadTestFile(const char* name);

// Text runs hold text and breaks none, neighbouring text runs differ in style, sizes lie on the
// scale, and no more text comes out than went in.
void ExpectWellFormed(const std::vector<THtmlRun>& runs, size_t htmlLength);
