#include "tray/TextOutSpy.h"

void* StartTextCapture() {
    // The library is not bound yet: nothing to switch on.
    return nullptr;
}
