#include "invite/console_redirector.h"

#include "invite/invitation_rules.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace {

constexpr DWORD kReaderJoinTimeoutMs = 15000;
constexpr DWORD kChunkBytes = 255;

// The one way every handle of the object is released: at most once, then forgotten.
void CloseAndForget(HANDLE &handle)
{
    if (handle) {
        ::CloseHandle(handle);
        handle = nullptr;
    }
}

} // namespace

ConsoleRedirector::~ConsoleRedirector() { ConsoleRedirector::Stop(); }

BOOL ConsoleRedirector::Start(const char *commandLine, const char *program)
{
    Stop();

    // The five local ends: A is the child's output pipe, B its input pipe.
    HANDLE outputRead = nullptr, outputWrite = nullptr, errorWrite = nullptr, inputRead = nullptr, inputWrite = nullptr;
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const HANDLE self = ::GetCurrentProcess();
    bool ok = true;
    DWORD error = 0;
    const auto failed = [&] {
        error = ::GetLastError();
        ok = false;
    };

    if (!::CreatePipe(&outputRead, &outputWrite, &inheritable, 0) ||
        !::DuplicateHandle(self, outputWrite, self, &errorWrite, 0, TRUE, DUPLICATE_SAME_ACCESS) ||
        !::CreatePipe(&inputRead, &inputWrite, &inheritable, 0)) {
        failed();
    } else {
        std::lock_guard lock(handleLock);
        // Our own ends must not be inherited, or the child would keep its own pipes open.
        if (!::DuplicateHandle(self, outputRead, self, &childStdoutRead, 0, FALSE, DUPLICATE_SAME_ACCESS) ||
            !::DuplicateHandle(self, inputWrite, self, &childStdinWrite, 0, FALSE, DUPLICATE_SAME_ACCESS))
            failed();
    }
    CloseAndForget(outputRead);
    CloseAndForget(inputWrite);

    if (ok && !SpawnChild(program, commandLine, outputWrite, inputRead, errorWrite))
        failed();
    // These belong to the child now (or to nobody after a failure).
    CloseAndForget(outputWrite);
    CloseAndForget(inputRead);
    CloseAndForget(errorWrite);

    if (ok) {
        stopEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        if (!stopEvent)
            failed();
    }
    if (ok) {
        // Suspended until its id is known: the reader tells its own Stop from the owner's by it.
        DWORD id = 0;
        readerThread = ::CreateThread(nullptr, 0, ReaderThread, this, CREATE_SUSPENDED, &id);
        if (readerThread) {
            readerThreadId = id;
            ::ResumeThread(readerThread);
        } else {
            failed();
        }
    }
    if (ok)
        return TRUE;

    char text[64];
    std::snprintf(text, sizeof text, "Redirect console error: %lx\r\n", static_cast<unsigned long>(error));
    OnError(text);
    Stop();
    ::SetLastError(error);
    return FALSE;
}

void ConsoleRedirector::Stop()
{
    if (::GetCurrentThreadId() == readerThreadId) {
        // The reader ends: it neither signals nor waits for itself, and leaves its own thread
        // handle and the stop event to the owner, who may be waiting on them right now.
        std::lock_guard lock(handleLock);
        CloseChildHandles();
        return;
    }

    std::lock_guard ownerLock(ownerStopLock);
    if (readerThread) {
        ::SetEvent(stopEvent);
        if (::WaitForSingleObject(readerThread, kReaderJoinTimeoutMs) != WAIT_OBJECT_0) {
            ::TerminateThread(readerThread, static_cast<DWORD>(-2));
            ::WaitForSingleObject(readerThread, 1000);
            OnError("The redir thread is dead\r\n");
        }
    }
    std::lock_guard lock(handleLock);
    CloseAndForget(readerThread);
    CloseAndForget(stopEvent);
    CloseChildHandles();
    readerThreadId = 0;
}

bool ConsoleRedirector::IsReading() const
{
    return readerThread && ::WaitForSingleObject(readerThread, 0) == WAIT_TIMEOUT;
}

void ConsoleRedirector::CloseChildHandles()
{
    CloseAndForget(childProcess);
    CloseAndForget(childStdinWrite);
    CloseAndForget(childStdoutRead);
}

BOOL ConsoleRedirector::WriteInput(const char *format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    std::va_list copy;
    va_copy(copy, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(text.data(), text.size() + 1, format, arguments);
    va_end(arguments);
    if (length < 0)
        return FALSE;

    std::lock_guard lock(handleLock);
    if (!childStdinWrite)
        return FALSE;
    DWORD written = 0;
    return ::WriteFile(childStdinWrite, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void ConsoleRedirector::OnOutput(const char *) {}

void ConsoleRedirector::OnError(const char *) {}

BOOL ConsoleRedirector::SpawnChild(const char *program, const char *commandLine, HANDLE stdOutput, HANDLE stdInput,
                                   HANDLE stdError)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = stdInput;
    startup.hStdOutput = stdOutput;
    startup.hStdError = stdError;
    PROCESS_INFORMATION process{};
    // CreateProcessA may write into the command line.
    std::string line = commandLine ? commandLine : "";
    if (!::CreateProcessA(program, line.data(), nullptr, nullptr, TRUE, CREATE_NEW_CONSOLE, nullptr, nullptr, &startup,
                          &process))
        return FALSE;
    ::CloseHandle(process.hThread);
    std::lock_guard lock(handleLock);
    childProcess = process.hProcess;
    return TRUE;
}

int ConsoleRedirector::DrainOutput()
{
    char buffer[kChunkBytes + 1];
    for (;;) {
        DWORD waiting = 0;
        if (!::PeekNamedPipe(childStdoutRead, nullptr, 0, nullptr, &waiting, nullptr))
            break;
        if (waiting == 0)
            return 1;
        DWORD got = 0;
        if (!::ReadFile(childStdoutRead, buffer, waiting < kChunkBytes ? waiting : kChunkBytes, &got, nullptr) ||
            got == 0)
            break;
        buffer[got] = '\0';
        OnOutput(buffer);
    }
    const DWORD error = ::GetLastError();
    if (error == ERROR_BROKEN_PIPE || error == ERROR_NO_DATA)
        return 0;
    OnError("Read stdout pipe error\r\n");
    return -1;
}

DWORD WINAPI ConsoleRedirector::ReaderThread(void *parameter)
{
    return static_cast<ConsoleRedirector *>(parameter)->RunReader();
}

DWORD ConsoleRedirector::RunReader()
{
    const HANDLE waits[2] = {childProcess, stopEvent};
    int result = DrainOutput();
    while (result > 0) {
        const DWORD woken = ::WaitForMultipleObjects(2, waits, FALSE, pollIntervalMs);
        if (woken == WAIT_OBJECT_0) {
            // The child is gone: what it wrote last is still in the pipe.
            result = DrainOutput();
            Stop();
            return result == 1 ? 0 : static_cast<DWORD>(result);
        }
        if (woken == WAIT_OBJECT_0 + 1) {
            Stop();
            return 1;
        }
        result = DrainOutput();
    }
    Stop();
    return static_cast<DWORD>(result);
}

CapturingRedirector::~CapturingRedirector()
{
    // The reader calls our OnOutput: it must be gone before this part of the object is.
    ConsoleRedirector::Stop();
}

void CapturingRedirector::SetCaptureBuffer(char *buffer, std::size_t capacity)
{
    captureBuffer = buffer;
    captureCapacity = buffer ? capacity : 0;
    if (captureBuffer && captureCapacity)
        captureBuffer[0] = '\0';
    capturedLength.store(0, std::memory_order_release);
}

void CapturingRedirector::OnOutput(const char *text)
{
    if (!captureBuffer || !text)
        return;
    const std::int32_t length =
        invite::AppendCapped(captureBuffer, captureCapacity, capturedLength.load(std::memory_order_relaxed), text);
    capturedLength.store(length, std::memory_order_release);
}

void CapturingRedirector::OnError(const char *text)
{
    OnOutput("\r\nError message: ");
    OnOutput(text);
}
