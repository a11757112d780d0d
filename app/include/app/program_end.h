// Ending the program: every open window is unloaded, then the process ends with exit code 0.
#pragma once

#include <functional>

namespace app {

// Closes every open top-level window, in the application's order, passing over a window that
// fails, then ends the program with exit code 0. Windows are not deleted here: their owners (or
// Qt::WA_DeleteOnClose) take care of that. Inside the event loop every loop stops as soon as the
// current handler returns; called before the event loop has started it ends the process at once.
// A second call while ending does nothing.
void closeAllWindowsAndEnd();

// True once the program has started to end: a window's close handler checks it so that closing
// during the end does not start anything new (such as showing the exit screen).
bool programIsEnding();

// Replaces the end of the program for tests of windows that end it; an empty handler restores it.
void setProgramEndForTesting(std::function<void()> handler);

} // namespace app
