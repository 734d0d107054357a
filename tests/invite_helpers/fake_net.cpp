// Stands in for NET while a test runs: writes its own command line, byte for byte, to the file
// named by BREWBELL_NET_LOG and answers as BREWBELL_NET_MODE says:
//   (unset) - one line, "Die Nachricht wurde gesendet."
//   long    - 2,000 characters in one write
//   hang    - nothing; waits for end-of-file on its input (at most a minute)
#include <windows.h>

#include <string>

namespace {

std::string Environment(const char *name)
{
    char value[MAX_PATH] = "";
    const DWORD length = ::GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? value : "";
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

} // namespace

int main()
{
    const std::string log = Environment("BREWBELL_NET_LOG");
    if (!log.empty()) {
        const HANDLE file = ::CreateFileA(log.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            Write(file, ::GetCommandLineA());
            ::CloseHandle(file);
        }
    }
    const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    const std::string mode = Environment("BREWBELL_NET_MODE");
    if (mode == "long") {
        Write(out, std::string(2000, 'L'));
    } else if (mode == "hang") {
        const HANDLE reader = ::CreateThread(nullptr, 0, DrainInput, nullptr, 0, nullptr);
        ::WaitForSingleObject(reader, 60000);
    } else {
        Write(out, "Die Nachricht wurde gesendet.\r\n");
    }
    return 0;
}
