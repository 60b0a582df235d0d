#pragma once
// Finds out at creation whether another instance of the program runs. If so, hands it
// this instance's arguments (message 1125 with a global atom), brings it to the front
// and sets Found; the creator then ends the program. Main thread only.
#include "classlib/base/Handle.h"
#include "classlib/gui/Classes.h"
#include <string>
#include <windows.h>

class TOneInstance : public TComponent {
public:
    // Message sent to the other instance: wParam a global atom of the arguments.
    static constexpr UINT WM_ONEINSTANCE = WM_USER + 101;

    // The application window's class name and title identify the program: set the
    // application title before creating the guard.
    explicit TOneInstance(TComponent* owner);

    bool Found = false;

    // The arguments after the last one that contains ".EXE", each followed by a blank.
    [[nodiscard]] static std::string ArgumentsToSend();

private:
    // Named after the class and title; whoever creates it first is the first instance,
    // so two instances started together cannot both be first. Held for the guard's life.
    TKernelHandle FMutex;
};
