#include "invite/invitation_results.h"

#include <utility>

void InvitationResults::ReportState(int state)
{
    const std::lock_guard held(guard);
    news.state = state;
}

void InvitationResults::ReportSendBegun()
{
    const std::lock_guard held(guard);
    news.sendBegun = true;
}

void InvitationResults::ReportAnswer(std::string text)
{
    const std::lock_guard held(guard);
    news.answers.push_back(std::move(text));
}

void InvitationResults::ReportError(Action action, std::uint32_t code)
{
    const std::lock_guard held(guard);
    news.errors.push_back({action, code});
}

InvitationResults::News InvitationResults::Take()
{
    const std::lock_guard held(guard);
    return std::exchange(news, News{});
}
