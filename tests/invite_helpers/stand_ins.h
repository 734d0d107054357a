// Puts the invitation's stand-ins in place for one test and takes them away again: the
// messenger service (installed through the service control manager) and net.exe.
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

inline std::string SystemFolder()
{
    char folder[MAX_PATH] = "";
    const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder, length < MAX_PATH ? length : 0) + "\\";
}

// Where a stand-in net.exe lies: in the system folder, where the program starts NET from (the
// system's own is put aside meanwhile), or beside the program under test (the folder of this
// test program, where brewbell.exe lives too), where a download could have put one.
enum class Where { SystemFolder, BesideProgram };

// A stand-in net.exe. It records its command line to a file and answers as the mode says (see
// fake_net.cpp). Programs started after construction inherit the two variables that lead it
// there; the mode can change at any time. The files lie beside this test program wherever the
// stand-in lies.
class Net {
public:
    explicit Net(const char *mode = "", Where where = Where::BesideProgram)
        : path_((where == Where::SystemFolder ? SystemFolder() : ProgramFolder()) + "net.exe"),
          saved_(where == Where::SystemFolder ? path_ + ".brewbell-saved" : std::string()),
          log_(ProgramFolder() + "net_command_line.txt"), modeFile_(ProgramFolder() + "net_mode.txt")
    {
        Remove(); // a leftover of an interrupted run
        if (!saved_.empty())
            ::CopyFileA(path_.c_str(), saved_.c_str(), TRUE);
        ::CopyFileA((ProgramFolder() + "fake_net.exe").c_str(), path_.c_str(), FALSE);
        ::SetEnvironmentVariableA("BREWBELL_NET_LOG", log_.c_str());
        ::SetEnvironmentVariableA("BREWBELL_NET_MODE_FILE", modeFile_.c_str());
        if (!saved_.empty())
            RunFileInSystemFolder(true);
        SetMode(mode);
    }
    ~Net()
    {
        ::SetEnvironmentVariableA("BREWBELL_NET_LOG", nullptr);
        ::SetEnvironmentVariableA("BREWBELL_NET_MODE_FILE", nullptr);
        if (!saved_.empty())
            RunFileInSystemFolder(false);
        Remove();
    }
    Net(const Net &) = delete;
    Net &operator=(const Net &) = delete;

    const std::string &Path() const { return path_; }
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
    static bool Exists(const std::string &path)
    {
        return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    // Wine runs its own NET for a net.exe in the system folder unless its settings say to take
    // the file (an environment variable does not reach the program's children); Windows has no
    // such key.
    static void RunFileInSystemFolder(bool file)
    {
        HKEY key = nullptr;
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &key, nullptr) != ERROR_SUCCESS)
            return;
        if (file)
            ::RegSetValueExA(key, "net.exe", 0, REG_SZ, reinterpret_cast<const BYTE *>("native"), 7);
        else
            ::RegDeleteValueA(key, "net.exe");
        ::RegCloseKey(key);
    }

    // Beside the program the stand-in goes; in the system folder the system's own comes back.
    void Remove() const
    {
        // A stand-in still running keeps its file busy for a moment.
        const auto retry = [](const auto &step) {
            for (int attempt = 0; attempt < 50 && !step(); ++attempt)
                ::Sleep(100);
        };
        if (saved_.empty()) {
            retry([&] { return !Placed() || ::DeleteFileA(path_.c_str()); });
        } else if (Exists(saved_)) {
            retry([&] { return ::CopyFileA(saved_.c_str(), path_.c_str(), FALSE) != FALSE; });
            ::DeleteFileA(saved_.c_str());
        }
        ::DeleteFileA(log_.c_str());
        ::DeleteFileA(modeFile_.c_str());
    }

    std::string path_;
    std::string saved_;
    std::string log_;
    std::string modeFile_;
};

} // namespace stand_ins
