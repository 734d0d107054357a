// Stands in for NET while a test runs: writes its own command line, byte for byte, to the file
// named by BREWBELL_NET_LOG and answers as the file named by BREWBELL_NET_MODE_FILE says:
//   (missing or empty) - one line, "Die Nachricht wurde gesendet."
//   long - 2,000 characters in one write
//   hang - nothing; waits for end-of-file on its input (at most a minute)
//   oem - a line with an umlaut in the console's code page (437 and 850 agree on it), as NET
//         writes on a German system
// Outside a test (no BREWBELL_NET_LOG) a stand-in left behind beside a program passes everything
// on to the system's NET, so a later real run never talks to it; one left in the system folder
// (the next test puts the system's back) has nothing to pass on to and ends.
#include <windows.h>

#include <string>

namespace {

std::string Environment(const char *name)
{
    char value[MAX_PATH] = "";
    const DWORD length = ::GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? value : "";
}

std::string ReadSmallFile(const std::string &path)
{
    char text[64] = "";
    DWORD got = 0;
    const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "";
    ::ReadFile(file, text, sizeof text - 1, &got, nullptr);
    ::CloseHandle(file);
    return std::string(text, got);
}

void Write(HANDLE file, const std::string &text)
{
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

DWORD WINAPI DrainInput(void *)
{
    char buffer[64];
    DWORD got = 0;
    while (::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &got, nullptr) && got > 0) {
    }
    return 0;
}

// Everything after the program name of our command line.
std::string Arguments()
{
    const char *line = ::GetCommandLineA();
    bool quoted = false;
    for (; *line && (quoted || (*line != ' ' && *line != '\t')); ++line)
        quoted ^= *line == '"';
    return line;
}

int PassOnToSystemNet()
{
    char folder[MAX_PATH] = "";
    ::GetSystemDirectoryA(folder, MAX_PATH);
    const std::string program = std::string(folder) + "\\net.exe";
    char self[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    if (::lstrcmpiA(self, program.c_str()) == 0)
        return 1;
    std::string line = "\"" + program + "\"" + Arguments();
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                          &process))
        return 1;
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

} // namespace

int main()
{
    const std::string log = Environment("BREWBELL_NET_LOG");
    if (log.empty())
        return PassOnToSystemNet();
    const HANDLE file = ::CreateFileA(log.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        Write(file, ::GetCommandLineA());
        ::CloseHandle(file);
    }
    const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    const std::string mode = ReadSmallFile(Environment("BREWBELL_NET_MODE_FILE"));
    if (mode == "long") {
        Write(out, std::string(2000, 'L'));
    } else if (mode == "oem") {
        Write(out, "Der Empf\x84ngername ist ung\x81ltig.\r\n");
    } else if (mode == "hang") {
        const HANDLE reader = ::CreateThread(nullptr, 0, DrainInput, nullptr, 0, nullptr);
        ::WaitForSingleObject(reader, 60000);
    } else {
        Write(out, "Die Nachricht wurde gesendet.\r\n");
    }
    return 0;
}
