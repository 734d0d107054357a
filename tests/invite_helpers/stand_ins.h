// Puts the invitation's stand-ins in place for one test and takes them away again: the
// messenger service (installed through the service control manager) and net.exe (copied beside
// the test program, where the command search looks first).
#pragma once

#include <windows.h>

#include <cstring>
#include <string>

namespace stand_ins {

inline std::string ProgramFolder()
{
    char path[MAX_PATH] = "";
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

inline std::string ReadFileText(const std::string &path)
{
    std::string text;
    const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return text;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    ::CloseHandle(file);
    return text;
}

// The service "messenger" run by fake_messenger.exe; stopped and removed at the end.
class MessengerService {
public:
    MessengerService()
    {
        manager_ = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
        Remove(); // a leftover of an interrupted run
        const std::string binary = "\"" + ProgramFolder() + "fake_messenger.exe\"";
        service_ = ::CreateServiceA(manager_, "messenger", "Messenger stand-in", SERVICE_ALL_ACCESS,
                                    SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
                                    binary.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
    }
    ~MessengerService()
    {
        Remove();
        if (manager_)
            ::CloseServiceHandle(manager_);
    }
    MessengerService(const MessengerService &) = delete;
    MessengerService &operator=(const MessengerService &) = delete;

    bool Installed() const { return service_ != nullptr; }
    DWORD State() const
    {
        SERVICE_STATUS status{};
        return service_ && ::QueryServiceStatus(service_, &status) ? status.dwCurrentState : 0;
    }
    bool WaitFor(DWORD state, DWORD timeoutMs = 10000) const
    {
        const DWORD start = ::GetTickCount();
        while (State() != state) {
            if (::GetTickCount() - start > timeoutMs)
                return false;
            ::Sleep(20);
        }
        return true;
    }
    bool StartAndWait()
    {
        ::StartServiceA(service_, 0, nullptr);
        return WaitFor(SERVICE_RUNNING);
    }

private:
    void Remove()
    {
        if (!service_)
            service_ = ::OpenServiceA(manager_, "messenger", SERVICE_ALL_ACCESS);
        if (!service_)
            return;
        SERVICE_STATUS status{};
        if (State() == SERVICE_START_PENDING)
            WaitFor(SERVICE_RUNNING);
        if (State() != SERVICE_STOPPED) {
            ::ControlService(service_, SERVICE_CONTROL_STOP, &status);
            WaitFor(SERVICE_STOPPED);
        }
        ::DeleteService(service_);
        ::CloseServiceHandle(service_);
        service_ = nullptr;
    }

    SC_HANDLE manager_ = nullptr;
    SC_HANDLE service_ = nullptr;
};

// net.exe beside the program under test (the folder of this test program, where brewbell.exe
// lives too). It records its command line to a file and answers as the mode says (see
// fake_net.cpp). Programs started after construction inherit the two variables that lead it
// there; the mode can change at any time.
class Net {
public:
    explicit Net(const char *mode = "", std::string folder = ProgramFolder())
        : path_(folder + "net.exe"), log_(folder + "net_command_line.txt"), modeFile_(folder + "net_mode.txt")
    {
        Remove();
        ::CopyFileA((folder + "fake_net.exe").c_str(), path_.c_str(), FALSE);
        ::SetEnvironmentVariableA("BREWBELL_NET_LOG", log_.c_str());
        ::SetEnvironmentVariableA("BREWBELL_NET_MODE_FILE", modeFile_.c_str());
        SetMode(mode);
    }
    ~Net()
    {
        ::SetEnvironmentVariableA("BREWBELL_NET_LOG", nullptr);
        ::SetEnvironmentVariableA("BREWBELL_NET_MODE_FILE", nullptr);
        Remove();
    }
    Net(const Net &) = delete;
    Net &operator=(const Net &) = delete;

    void SetMode(const char *mode) const
    {
        const HANDLE file =
            ::CreateFileA(modeFile_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        ::WriteFile(file, mode, static_cast<DWORD>(std::strlen(mode)), &written, nullptr);
        ::CloseHandle(file);
    }
    bool Placed() const { return ::GetFileAttributesA(path_.c_str()) != INVALID_FILE_ATTRIBUTES; }
    std::string RecordedCommandLine() const { return ReadFileText(log_); }
    void ForgetCommandLine() const { ::DeleteFileA(log_.c_str()); }

private:
    void Remove() const
    {
        // A stand-in still running keeps its file busy for a moment.
        for (int attempt = 0; attempt < 50 && Placed() && !::DeleteFileA(path_.c_str()); ++attempt)
            ::Sleep(100);
        ::DeleteFileA(log_.c_str());
        ::DeleteFileA(modeFile_.c_str());
    }

    std::string path_;
    std::string log_;
    std::string modeFile_;
};

} // namespace stand_ins
