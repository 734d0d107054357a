// Runs one console command as a hidden child whose standard input, output and error are pipes
// held by us; a reader thread of the object hands everything the child writes to OnOutput.
//
// One thread at a time owns the object (starts, writes, stops it); another may take over once
// the first has ended, also when it was ended by force. The reader only reads what the owner set
// up before it started and takes no lock, so an owner ended anywhere leaves nothing held that the
// reader or the next owner would wait for.
#pragma once

#include "framework/handles.h"
#include "framework/thread.h"

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

class ConsoleRedirector {
public:
    ConsoleRedirector() = default;
    ConsoleRedirector(const ConsoleRedirector &) = delete;
    ConsoleRedirector &operator=(const ConsoleRedirector &) = delete;
    virtual ~ConsoleRedirector();

    // Stops whatever ran before, then starts the command; true once the reader thread runs.
    // On failure the reason goes to OnError and the system's last error is kept. program is the
    // file to run, by its full path; without it the command line's first word is searched for,
    // in the program's own folder and the current directory first.
    BOOL Start(const char *commandLine, const char *program = nullptr);
    // Ends the reader and releases every handle; safe when nothing runs. From the reader thread
    // itself (in OnOutput) it only ends the reading, and the owner's Stop releases the handles.
    // Never ends the child: closing its input gives it end-of-file.
    virtual void Stop();
    // Whether the reader still runs (owner's thread only).
    bool IsReading() const;
    // Formats by the printf rules and writes the text to the child's input in one write; false
    // once the reader has ended.
    BOOL WriteInput(const char *format, ...);

protected:
    // One chunk of what the child wrote (at most 255 bytes, zero-terminated), on the reader thread.
    virtual void OnOutput(const char *text);
    // A report of the redirector itself (English), on the reader or the owner's thread.
    virtual void OnError(const char *text);

    BOOL SpawnChild(const char *program, const char *commandLine, HANDLE stdOutput, HANDLE stdInput, HANDLE stdError);
    // 1 when the pipe is empty now, 0 when it is closed (child gone) or the reader is asked to
    // stop between two chunks, -1 on a read error.
    int DrainOutput();

    // How long Stop waits for the reader before it ends the reader by force (counted in
    // ForcedThreadEnds) and reports so through OnError.
    DWORD readerStopTimeoutMs = 15000;

private:
    void RunReader();
    void CloseChildHandles();

    StoppableWorker reader;
    const DWORD pollIntervalMs = 100;
    UniqueKernelHandle childStdinWrite;
    UniqueKernelHandle childStdoutRead;
    UniqueKernelHandle childProcess;
};

// Appends the child's output and the redirector's own reports to a buffer of the caller's.
class CapturingRedirector : public ConsoleRedirector {
public:
    CapturingRedirector() = default;
    ~CapturingRedirector() override;

    // The buffer stays the caller's; text beyond capacity - 1 characters is cut. Set it before
    // Start. The buffer is emptied.
    void SetCaptureBuffer(char *buffer, std::size_t capacity);
    // Length of the captured text. A reader on another thread sees the text complete up to it.
    std::int32_t CapturedLength() const { return capturedLength.load(std::memory_order_acquire); }

protected:
    void OnOutput(const char *text) override;
    void OnError(const char *text) override;

private:
    char *captureBuffer = nullptr;
    std::size_t captureCapacity = 0;
    // Written by one thread at a time: the reader, or the owner while no reader runs.
    std::atomic<std::int32_t> capturedLength{0};
};
