// A stand-in for the messenger service, installed by the tests under that name. Starting and
// stopping each pass through their pending state for 800 ms, long enough to be seen by a poll
// every 200 ms.
#include <windows.h>

namespace {

constexpr DWORD kPendingMs = 800;
char serviceName[] = "messenger";
SERVICE_STATUS_HANDLE statusHandle = nullptr;
HANDLE stopRequested = nullptr;

void Report(DWORD state, DWORD checkPoint = 0)
{
    SERVICE_STATUS status{};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
    status.dwCheckPoint = checkPoint;
    status.dwWaitHint = state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING ? 2 * kPendingMs : 0;
    ::SetServiceStatus(statusHandle, &status);
}

DWORD WINAPI Handler(DWORD control, DWORD, void *, void *)
{
    if (control == SERVICE_CONTROL_STOP) {
        Report(SERVICE_STOP_PENDING, 1);
        ::SetEvent(stopRequested);
    }
    return NO_ERROR;
}

void WINAPI ServiceMain(DWORD, char **)
{
    statusHandle = ::RegisterServiceCtrlHandlerExA(serviceName, Handler, nullptr);
    if (!statusHandle)
        return;
    Report(SERVICE_START_PENDING, 1);
    ::Sleep(kPendingMs);
    Report(SERVICE_RUNNING);
    ::WaitForSingleObject(stopRequested, INFINITE);
    ::Sleep(kPendingMs);
    Report(SERVICE_STOPPED);
}

} // namespace

int main()
{
    stopRequested = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SERVICE_TABLE_ENTRYA table[] = {{serviceName, ServiceMain}, {nullptr, nullptr}};
    return ::StartServiceCtrlDispatcherA(table) ? 0 : 1;
}
