#include "app/single_instance.h"

bool SingleInstance::Claim()
{
    if (!mutex) {
        HANDLE created = ::CreateMutexA(nullptr, TRUE, "brewbell");
        const DWORD error = ::GetLastError();
        mutex.reset(created);
        // A first instance that runs with other rights (elevated, say) holds a name this one may
        // not even open: that is taken too.
        owner = error != ERROR_ALREADY_EXISTS && !(created == nullptr && error == ERROR_ACCESS_DENIED);
    }
    return owner;
}

void SingleInstance::ShowFirstInstance()
{
    // A broadcast reaches the first instance's window also while it hides in the notification
    // area; only the owner of the name answers it.
    ::PostMessageA(HWND_BROADCAST, ShowWindowMessage(), 0, 0);
}

UINT SingleInstance::ShowWindowMessage()
{
    static const UINT message = ::RegisterWindowMessageA("Brewbell.ShowWindow");
    return message;
}
