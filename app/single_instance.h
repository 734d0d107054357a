// The name that only the first running Brewbell holds, and the call that brings that first
// instance's window forward when a second one is started.
#pragma once

#include "framework/handles.h"

class SingleInstance {
public:
    // Takes the name; false when another instance holds it. The handle stays open for the life
    // of the owner, so the name stays taken.
    bool Claim();
    bool IsOwner() const { return owner; }

    // Asks the instance that holds the name to show its window (ShowWindowMessage).
    static void ShowFirstInstance();
    static UINT ShowWindowMessage();

private:
    UniqueKernelHandle mutex;
    bool owner = false;
};
