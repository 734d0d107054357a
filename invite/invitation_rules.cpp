#include "invite/invitation_rules.h"

#include <algorithm>
#include <cstring>

namespace invite {

bool NeedsRecipient(int mode) { return mode != OwnDomain && mode != ServerUsers; }

int MaxChars(int mode)
{
    return mode == WholeDomain || mode == OwnDomain || mode == ServerUsers ? kBroadcastMaxChars : kMemberMaxChars;
}

std::string NetSendCommandLine(int mode, std::string_view recipient, std::string_view message)
{
    std::string line = "NET SEND ";
    switch (mode) {
    case WholeDomain:
        line += "/DOMAIN:";
        line += recipient;
        break;
    case OwnDomain:
        line += '*';
        break;
    case ServerUsers:
        line += "/USERS";
        break;
    default:
        line += '"';
        line += recipient;
        line += '"';
        break;
    }
    line += " \"";
    line += message;
    line += '"';
    return line;
}

bool LimitMessage(std::string &message, int maxChars)
{
    const std::size_t limit = static_cast<std::size_t>(std::max(maxChars, 0));
    if (message.size() <= limit)
        return false;
    message.resize(limit);
    return true;
}

ServiceStateView DescribeServiceState(int state)
{
    switch (state) {
    case kStateStopped:
        return {Lamp::Stopped, "Nachrichtendienst ist nicht aktiv.", true, false, false};
    case kStateStartPending:
        return {Lamp::Busy, "Nachrichtendienst wird gestartet. Bitte warten...", false, false, false};
    case kStateStopPending:
        return {Lamp::Busy, "Nachrichtendienst wird beendet. Bitte warten...", false, false, false};
    case kStateRunning:
        return {Lamp::Running, "Nachrichtendienst läuft.", false, true, true};
    case kStateNoAccess:
        return {Lamp::Busy, "Statusinformationen nicht verfügbar (keine Berechtigung).", false, false, true};
    default:
        return {Lamp::Busy, "Nachrichtendienst angehalten.", true, false, false};
    }
}

std::string ComposeSystemError(std::string_view caption, const char *systemText, std::size_t bufferSize)
{
    std::string text(caption);
    if (systemText && *systemText) {
        text += ":\n";
        text += systemText;
    }
    const std::size_t room = bufferSize ? bufferSize - 1 : 0;
    if (text.size() > room)
        text.resize(room);
    return text;
}

std::int32_t AppendCapped(char *buffer, std::size_t capacity, std::int32_t length, std::string_view text)
{
    if (!buffer || capacity == 0)
        return 0;
    const std::size_t room = capacity - 1;
    std::size_t used = std::min(static_cast<std::size_t>(std::max(length, 0)), room);
    const std::size_t count = std::min(text.size(), room - used);
    std::memcpy(buffer + used, text.data(), count);
    used += count;
    buffer[used] = '\0';
    return static_cast<std::int32_t>(used);
}

} // namespace invite
