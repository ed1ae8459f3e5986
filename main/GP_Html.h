#pragma once
// What a paradigm generator window shows of its record, as HTML for its text browser.

#include <string>

#include "core/GP_PROC.h"

// The form; then, when it has affixes, the split form and one line per affix with its name. The
// tags are unbalanced, as the browser reads them leniently; the record's texts are escaped.
std::wstring ParadigmHtml(const TGP_Proc_Rec& rec);
