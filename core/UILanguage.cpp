#include "core/UILanguage.h"

namespace {

const unsigned char kDefaultLanguage = 1;
const unsigned char* source = &kDefaultLanguage;

} // namespace

int CurrentUILanguage() {
    // The byte may live in memory another process writes; a value it does not know reads as Russian.
    return *source == 0 ? 0 : 1;
}

void SetUILanguageSource(const unsigned char* byte) {
    source = byte != nullptr ? byte : &kDefaultLanguage;
}
