#pragma once
// The normal mode of the program: the memory monitor, the main window and the
// program's dialogs, and the message loop until the main window closes.
#include "engine/tools/Mem.h"

// The one memory monitor; lives from before the main window until after the loop.
extern TMem* Mem;

// Exceptions pass to the caller, which ends the program without a message.
void RunNormalMode();
