// A console child for the redirector tests. Its first argument says what it does:
//   silent  - prints nothing and ends
//   print600 - writes 600 bytes in one write
//   print64k - writes 64 KB of a counting pattern, in writes of 1000 bytes
//   echo    - copies its input to its output until end-of-file
#include <windows.h>

#include <cstring>
#include <string>

namespace {

void WriteAll(const char *data, DWORD size)
{
    const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    while (size > 0) {
        DWORD written = 0;
        if (!::WriteFile(out, data, size, &written, nullptr) || written == 0)
            return;
        data += written;
        size -= written;
    }
}

std::string Pattern(std::size_t size)
{
    std::string text(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>('A' + i % 26);
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    const std::string mode = argc > 1 ? argv[1] : "silent";
    if (mode == "print600") {
        const std::string text = Pattern(600);
        WriteAll(text.data(), static_cast<DWORD>(text.size()));
    } else if (mode == "print64k") {
        const std::string text = Pattern(65536);
        for (std::size_t at = 0; at < text.size(); at += 1000) {
            const std::size_t size = text.size() - at < 1000 ? text.size() - at : 1000;
            WriteAll(text.data() + at, static_cast<DWORD>(size));
        }
    } else if (mode == "echo") {
        char buffer[512];
        DWORD got = 0;
        while (::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &got, nullptr) && got > 0)
            WriteAll(buffer, got);
    }
    return 0;
}
