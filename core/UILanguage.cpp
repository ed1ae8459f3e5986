#include "core/UILanguage.h"

#include "core/GlobalCustoms.h"

TLanguage CurrentUILanguage() {
    // The byte lives in memory another process writes: a value it does not know reads as Russian.
    return LanguageOf(SharedCustomsOrDefaults().UILanguage);
}
