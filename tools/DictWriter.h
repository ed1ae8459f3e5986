#pragma once
// Lays a parsed dictionary source out as a *.dict image.

#include <vector>

#include "tools/DictSource.h"

// The index is sorted in Tatar order, equal headwords by homonym number (equal numbers keep their
// source order);
// equal headword texts share one pool offset.
std::vector<unsigned char> BuildDictImage(const DictSource& source);
