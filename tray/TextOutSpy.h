#pragma once
// The binding of the screen-text capture library, TextOutSpy.dll. The capture reports the text
// under the mouse through its hook block, whose first field names the window it reports to.

// Switches the capture on and gives its hook block, or nullptr while no capture library is
// bound; the tray program then receives no captured text.
void* StartTextCapture();
