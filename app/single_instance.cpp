#include "app/single_instance.h"

bool SingleInstance::Claim()
{
    if (!mutex_) {
        mutex_.reset(::CreateMutexA(nullptr, TRUE, "brewbell"));
        owner_ = ::GetLastError() != ERROR_ALREADY_EXISTS;
    }
    return owner_;
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
