// The portable rules of the invitation: the NET SEND command line of each recipient mode, the
// message limits, and what each state of the messenger service looks like in the dialog.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace invite {

// Values of the recipient radio group, in the order of its buttons.
enum RecipientMode : int {
    OneMember = 0,   // the recipient, a member of the own domain or work group
    WholeDomain = 1, // every member of the recipient domain
    OwnDomain = 2,   // every member of the own domain
    ServerUsers = 3, // every user logged on at the server
};

inline constexpr int kMemberMaxChars = 250;
inline constexpr int kBroadcastMaxChars = 128;

// Modes 0 and 1 name a recipient; 2 and 3 ignore the recipient field. Any other value (no radio
// button checked) counts as mode 0 everywhere.
bool NeedsRecipient(int mode);
int MaxChars(int mode);

// "NET SEND " and the mode's recipient part, then the message in double quotes. Nothing inside
// recipient or message is escaped: NET takes the text as the user typed it.
std::string NetSendCommandLine(int mode, std::string_view recipient, std::string_view message);

// Cuts a message to its first maxChars characters; true when it was cut.
bool LimitMessage(std::string &message, int maxChars);

// Service states as the service control manager reports them, and our own for "no access".
inline constexpr int kStateNoAccess = -1;
inline constexpr int kStateStopped = 1;
inline constexpr int kStateStartPending = 2;
inline constexpr int kStateStopPending = 3;
inline constexpr int kStateRunning = 4;
inline constexpr int kStatePaused = 7;

enum class Lamp { Stopped, Busy, Running };

struct ServiceStateView {
    Lamp lamp;
    const char *text;
    bool startEnabled;
    bool stopEnabled;
    bool sendEnabled;
};

ServiceStateView DescribeServiceState(int state);

// caption + ":\n" + the system's text, in a buffer of the given size (terminator included),
// cut to fit. A missing system text shows the caption alone.
std::string ComposeSystemError(std::string_view caption, const char *systemText, std::size_t bufferSize);

// Appends text to the zero-terminated string of `length` characters in a buffer of `capacity`
// bytes, cutting what does not fit, and terminates it. Returns the new length.
std::int32_t AppendCapped(char *buffer, std::size_t capacity, std::int32_t length, std::string_view text);

} // namespace invite
