#pragma once
// The interface language (0 Tatar, 1 Russian) as the morphology sees it: one byte that the owner of the
// shared settings block points it at. Until then it reads a byte of its own holding 1.

int CurrentUILanguage();

// nullptr goes back to the own byte.
void SetUILanguageSource(const unsigned char* byte);
