#include "invite/invitation_results.h"

#include <utility>

void InvitationResults::ReportState(int state)
{
    std::lock_guard lock(lock_);
    news_.state = state;
}

void InvitationResults::ReportSendBegun()
{
    std::lock_guard lock(lock_);
    news_.sendBegun = true;
}

void InvitationResults::ReportAnswer(std::string text)
{
    std::lock_guard lock(lock_);
    news_.answers.push_back(std::move(text));
}

void InvitationResults::ReportError(Action action, std::uint32_t code)
{
    std::lock_guard lock(lock_);
    news_.errors.push_back({action, code});
}

InvitationResults::News InvitationResults::Take()
{
    std::lock_guard lock(lock_);
    return std::exchange(news_, News{});
}
