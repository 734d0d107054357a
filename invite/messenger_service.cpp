#include "invite/messenger_service.h"

ServiceOpeners serviceOpeners;

const char kMessengerServiceName[] = "messenger";

DWORD MessengerService::Open()
{
    Close();
    serviceManager.reset(serviceOpeners.openManager(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!serviceManager)
        return ::GetLastError();
    serviceHandle.reset(serviceOpeners.openService(serviceManager.get(), kMessengerServiceName, SERVICE_ALL_ACCESS));
    if (!serviceHandle)
        return ::GetLastError();
    return 0;
}

int MessengerService::QueryState() const
{
    SERVICE_STATUS status{};
    if (!serviceHandle || !::QueryServiceStatus(serviceHandle.get(), &status))
        return 0;
    return static_cast<int>(status.dwCurrentState);
}

bool MessengerService::RequestStart() const
{
    if (!serviceHandle) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    return ::StartServiceA(serviceHandle.get(), 0, nullptr) != FALSE;
}

bool MessengerService::RequestStop() const
{
    if (!serviceHandle) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    SERVICE_STATUS status{};
    return ::ControlService(serviceHandle.get(), SERVICE_CONTROL_STOP, &status) != FALSE;
}

void MessengerService::Close()
{
    serviceHandle.reset();
    serviceManager.reset();
}
