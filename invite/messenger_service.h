// The Windows "messenger" service through the service control manager: open, query, start,
// stop. The opening calls go through a seam so that tests can refuse access.
#pragma once

#include "framework/handles.h"

#include <windows.h>

struct ServiceOpeners {
    SC_HANDLE(WINAPI *openManager)(LPCSTR machine, LPCSTR database, DWORD access) = ::OpenSCManagerA;
    SC_HANDLE(WINAPI *openService)(SC_HANDLE manager, LPCSTR name, DWORD access) = ::OpenServiceA;
};
extern ServiceOpeners serviceOpeners;

extern const char kMessengerServiceName[];

class MessengerService {
public:
    // 0, or the system error of the call that failed.
    DWORD Open();
    // The current state (1 stopped ... 7 paused), or 0 when the status cannot be read.
    int QueryState() const;
    // False with the system's last error set when the manager refuses.
    bool RequestStart() const;
    bool RequestStop() const;
    void Close();

private:
    UniqueServiceHandle serviceManager;
    UniqueServiceHandle serviceHandle;
};
