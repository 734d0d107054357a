#include "invite/invitation_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace invite {
namespace {

TEST(InviteRules, CommandLineOfEachModeTakesRecipientAndMessageUnchanged)
{
    const std::string quoted = "Tee \"jetzt\"\r\nin der Küche";
    const std::string longMessage(250, 'x');
    const std::string longRecipient(255, 'r');
    struct Case {
        int mode;
        std::string recipient, message, expected;
    };
    const std::vector<Case> cases = {
        {0, "PC-7", "Tee?", "NET SEND \"PC-7\" \"Tee?\""},
        {1, "BUERO", "Tee?", "NET SEND /DOMAIN:BUERO \"Tee?\""},
        {2, "ignored", "Tee?", "NET SEND * \"Tee?\""},
        {2, "", "Tee?", "NET SEND * \"Tee?\""},
        {3, "ignored", "Tee?", "NET SEND /USERS \"Tee?\""},
        // Nothing is escaped: quotes, line breaks and characters above 127 stay as typed.
        {0, "a \"b\"", quoted, "NET SEND \"a \"b\"\" \"" + quoted + "\""},
        {1, "Dom\xE4ne", quoted, "NET SEND /DOMAIN:Dom\xE4ne \"" + quoted + "\""},
        {0, longRecipient, longMessage, "NET SEND \"" + longRecipient + "\" \"" + longMessage + "\""},
        // No radio button checked counts as the first mode.
        {-1, "PC", "m", "NET SEND \"PC\" \"m\""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(NetSendCommandLine(c.mode, c.recipient, c.message), c.expected) << "mode " << c.mode;
}

TEST(InviteRules, LimitsAndRecipientNeedFollowTheMode)
{
    EXPECT_EQ(MaxChars(0), 250);
    EXPECT_EQ(MaxChars(-1), 250);
    for (int mode = 1; mode <= 3; ++mode)
        EXPECT_EQ(MaxChars(mode), 128) << mode;
    EXPECT_TRUE(NeedsRecipient(0));
    EXPECT_TRUE(NeedsRecipient(1));
    EXPECT_FALSE(NeedsRecipient(2));
    EXPECT_FALSE(NeedsRecipient(3));

    std::string message(251, 'a');
    message[249] = 'y';
    EXPECT_TRUE(LimitMessage(message, 250));
    EXPECT_EQ(message.size(), 250u);
    EXPECT_EQ(message.back(), 'y');
    EXPECT_FALSE(LimitMessage(message, 250));
    EXPECT_TRUE(LimitMessage(message, 128));
    EXPECT_EQ(message.size(), 128u);
    std::string empty;
    EXPECT_FALSE(LimitMessage(empty, 0));
}

TEST(InviteRules, ServiceStatesShowTheirLampTextAndButtons)
{
    struct Row {
        int state;
        Lamp lamp;
        const char *text;
        bool start, stop, send;
    };
    const Row rows[] = {
        {1, Lamp::Stopped, "Nachrichtendienst ist nicht aktiv.", true, false, false},
        {2, Lamp::Busy, "Nachrichtendienst wird gestartet. Bitte warten...", false, false, false},
        {3, Lamp::Busy, "Nachrichtendienst wird beendet. Bitte warten...", false, false, false},
        {4, Lamp::Running, "Nachrichtendienst l\xE4uft.", false, true, true},
        {-1, Lamp::Busy, "Statusinformationen nicht verf\xFCgbar (keine Berechtigung).", false, false, true},
        {0, Lamp::Busy, "Nachrichtendienst angehalten.", true, false, false},
        {5, Lamp::Busy, "Nachrichtendienst angehalten.", true, false, false},
        {7, Lamp::Busy, "Nachrichtendienst angehalten.", true, false, false},
    };
    for (const Row &row : rows) {
        const ServiceStateView view = DescribeServiceState(row.state);
        EXPECT_EQ(view.lamp, row.lamp) << row.state;
        EXPECT_STREQ(view.text, row.text) << row.state;
        EXPECT_EQ(view.startEnabled, row.start) << row.state;
        EXPECT_EQ(view.stopEnabled, row.stop) << row.state;
        EXPECT_EQ(view.sendEnabled, row.send) << row.state;
    }
}

TEST(InviteRules, SystemErrorTextIsBoundedAndFallsBackToTheCaption)
{
    EXPECT_EQ(ComposeSystemError("Zugriff nicht m\xF6glich", "Dienst fehlt.\r\n", 256),
              "Zugriff nicht m\xF6glich:\nDienst fehlt.\r\n");
    EXPECT_EQ(ComposeSystemError("Zugriff nicht m\xF6glich", nullptr, 256), "Zugriff nicht m\xF6glich");
    EXPECT_EQ(ComposeSystemError("Zugriff", "", 256), "Zugriff");
    const std::string huge(1000, 'e');
    EXPECT_EQ(ComposeSystemError("Caption", huge.c_str(), 256).size(), 255u);
    EXPECT_EQ(ComposeSystemError(std::string(300, 'c'), "x", 256), std::string(255, 'c'));
    EXPECT_EQ(ComposeSystemError("c", "x", 0), "");
}

TEST(InviteRules, CaptureNeverWritesPastItsBuffer)
{
    // A guard zone behind the buffer shows any overrun (ASan would too, for the heap).
    char memory[16 + 8];
    std::memset(memory, '#', sizeof memory);
    char *buffer = memory;
    const std::size_t capacity = 16;
    std::int32_t length = AppendCapped(buffer, capacity, 0, "");
    EXPECT_EQ(length, 0);
    EXPECT_STREQ(buffer, "");
    length = AppendCapped(buffer, capacity, length, "0123456789");
    EXPECT_EQ(length, 10);
    length = AppendCapped(buffer, capacity, length, "abcdefghij");
    EXPECT_EQ(length, 15);
    EXPECT_STREQ(buffer, "0123456789abcde");
    length = AppendCapped(buffer, capacity, length, "more");
    EXPECT_EQ(length, 15);
    // A length that claims more than the buffer holds is taken as full.
    EXPECT_EQ(AppendCapped(buffer, capacity, 99, "z"), 15);
    for (std::size_t i = capacity; i < sizeof memory; ++i)
        EXPECT_EQ(memory[i], '#') << i;
    EXPECT_EQ(AppendCapped(nullptr, 16, 0, "x"), 0);
    EXPECT_EQ(AppendCapped(buffer, 0, 0, "x"), 0);
    char one[1] = {'#'};
    EXPECT_EQ(AppendCapped(one, 1, 0, "x"), 0);
    EXPECT_EQ(one[0], '\0');
}

} // namespace
} // namespace invite
