// What the invitation's workers hand to the dialog. A worker writes its result here under the
// lock and then posts a plain notification; the dialog takes everything new in one step and
// shows it. Nothing travels in a message, so nothing is lost or leaked with one that is never
// handled.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class InvitationResults {
public:
    enum class Action { Start, Stop };
    struct SystemError {
        Action action;
        std::uint32_t code;
        bool operator==(const SystemError &) const = default;
    };

    // Everything new since the last Take. The dialog shows it in this order, which is the order
    // in which one send reports (begun, then the state after it, then the answer).
    struct News {
        bool sendBegun = false;
        std::optional<int> state; // the newest service state not shown yet
        std::vector<std::string> answers;
        std::vector<SystemError> errors;
    };

    void ReportState(int state);
    void ReportSendBegun();
    void ReportAnswer(std::string text);
    void ReportError(Action action, std::uint32_t code);

    // Hands everything new over and leaves the record empty.
    News Take();

private:
    std::mutex guard;
    News news;
};
