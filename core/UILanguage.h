#pragma once
// The interface language as the morphology sees it: the byte of this process's shared settings
// block, or Russian while the process has none.

#include "core/Codes.h"

TLanguage CurrentUILanguage();
