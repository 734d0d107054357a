#include "tests/support/running_program.h"
#include "tests/invite_helpers/stand_ins.h"

#include <gtest/gtest.h>

#include <memory>

namespace registry = brewbell_registry;

namespace {

const char kTitle[] = "Einladung versenden per Windows Nachrichtendienst";

// A message box of the program: captioned "Brewbell", with its text item.
HWND FindBox(const Program &program)
{
    for (HWND window : program.TopLevelWindows())
        if (::IsWindowVisible(window) && IsMessageBox(window) && Text(window) == "Brewbell")
            return window;
    return nullptr;
}

void SetItemText(HWND window, int id, const std::string &text)
{
    ::SendMessageA(::GetDlgItem(window, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// A kept input of the invitation, or "(none)" where none is stored.
std::string Kept(const char *name)
{
    std::string text;
    return registry::ReadString("Netsend", name, text) ? text : "(none)";
}

// Sends what the fields hold in the given mode; returns the text of the result box, closed again.
std::string Send(const Program &program, HWND dialog, int mode, const std::string &recipient,
                 const std::string &message)
{
    PostClick(dialog, IDC_INV_MODE_MEMBER + mode);
    SetItemText(dialog, IDC_INV_RECIPIENT, recipient);
    SetItemText(dialog, IDC_INV_MESSAGE, message);
    PostClick(dialog, IDC_INV_SEND);
    HWND box = nullptr;
    if (!WaitUntil([&] { return (box = FindBox(program)) != nullptr; }, 8000))
        return "(no box)";
    const std::string text = MessageBoxText(box);
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return !::IsWindow(box) && IsItemEnabled(dialog, IDC_INV_SEND); }, 5000);
    return text;
}

class InvitationTest : public RunningProgramTest {
protected:
    HWND OpenInvitation() const
    {
        PostCommand(window, ID_INVITATION);
        return program->WaitForWindowTitled(kTitle, 5000);
    }
};

TEST_F(InvitationTest, StartTheServiceSendToEveryoneKeepTheInputsAndCloseMidSend)
{
    stand_ins::MessengerService service;
    ASSERT_TRUE(service.Installed());
    // Beside the program, where a download could have put one: never run.
    auto planted = std::make_unique<stand_ins::Net>();
    StartProgram();

    HWND dialog = OpenInvitation();
    ASSERT_NE(dialog, nullptr) << "the menu command opened no invitation";
    EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_INV_STATUS) == "Nachrichtendienst ist nicht aktiv."; }, 5000));
    EXPECT_FALSE(IsItemEnabled(dialog, IDC_INV_SEND));
    PostClick(dialog, IDC_INV_START);
    ASSERT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_INV_STATUS) == "Nachrichtendienst läuft."; }, 8000))
        << ItemText(dialog, IDC_INV_STATUS);

    EXPECT_NE(Send(*program, dialog, 2, "", "Tee?"), "Die Nachricht wurde gesendet.\r\n") << "the system's NET answers";
    EXPECT_EQ(planted->RecordedCommandLine(), "");
    planted.reset();
    const stand_ins::Net net("", stand_ins::Where::SystemFolder);

    // Every mode, with a message that carries quotes, a line break and an umlaut.
    const std::string message = "Tee \"Darjeeling\"\r\num vier in der Küche";
    const struct {
        int mode;
        const char *recipient;
        std::string expected;
    } cases[] = {
        {0, "PC-7", "NET SEND \"PC-7\" \"" + message + "\""},
        {1, "BUERO", "NET SEND /DOMAIN:BUERO \"" + message + "\""},
        {2, "", "NET SEND * \"" + message + "\""},
        {3, "", "NET SEND /USERS \"" + message + "\""},
    };
    for (const auto &c : cases) {
        net.ForgetCommandLine();
        EXPECT_EQ(Send(*program, dialog, c.mode, c.recipient, message), "Die Nachricht wurde gesendet.\r\n")
            << "mode " << c.mode;
        EXPECT_EQ(net.RecordedCommandLine(), c.expected);
    }

    // An answer longer than the capture buffer is cut at it.
    net.SetMode("long");
    EXPECT_EQ(Send(*program, dialog, 2, "", "Tee?"), std::string(255, 'L'));
    net.SetMode("");

    // Keep the inputs: they are in the registry after closing, and back when the dialog opens.
    PostClick(dialog, IDC_INV_MODE_MEMBER);
    SetItemText(dialog, IDC_INV_RECIPIENT, "PC-7");
    SetItemText(dialog, IDC_INV_MESSAGE, message);
    PostClick(dialog, IDC_INV_SAVE_INPUTS);
    PostClick(dialog, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }, 3000));
    EXPECT_EQ(Kept("Recipient"), "PC-7");
    EXPECT_EQ(Kept("NSMessage"), message);
    DWORD saved = 0;
    EXPECT_TRUE(registry::ReadDword("Netsend", "SaveSettings", saved));
    EXPECT_EQ(saved, 1u);

    dialog = OpenInvitation();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ItemText(dialog, IDC_INV_RECIPIENT), "PC-7");
    EXPECT_EQ(ItemText(dialog, IDC_INV_MESSAGE), message);
    ASSERT_TRUE(WaitUntil([&] { return IsItemEnabled(dialog, IDC_INV_SEND); }, 5000));

    // NET says nothing and hangs: closing the dialog ends the send at once, no box follows.
    net.SetMode("hang");
    net.ForgetCommandLine();
    PostClick(dialog, IDC_INV_SEND);
    ASSERT_TRUE(WaitUntil([&] { return !net.RecordedCommandLine().empty(); }, 5000));
    PostClick(dialog, IDC_INV_SAVE_INPUTS); // off: the inputs are forgotten
    const DWORD closing = ::GetTickCount();
    PostClick(dialog, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }, 3000));
    EXPECT_LT(::GetTickCount() - closing, 1000u);
    ::Sleep(300);
    EXPECT_EQ(FindBox(*program), nullptr);
    EXPECT_EQ(Kept("Recipient"), "");
    EXPECT_EQ(Kept("NSMessage"), "");
    EXPECT_TRUE(registry::ReadDword("Netsend", "SaveSettings", saved));
    EXPECT_EQ(saved, 0u);

    // The program goes on as before and ends normally.
    EXPECT_TRUE(::IsWindowEnabled(window));
    ExitProgram(10000);
}

TEST_F(InvitationTest, WithoutTheServiceTheUserIsToldAndCannotSend)
{
    // As on this Wine, and on every Windows since the messenger service was dropped.
    StartProgram();
    PostCommand(window, ID_INVITATION);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindBox(*program)) != nullptr; }, 5000));
    const std::string text = MessageBoxText(box);
    EXPECT_EQ(text.rfind("Zugriff nicht möglich:\n", 0), 0u) << text;
    EXPECT_GT(MessageBoxIconColours(box).red, 0.2) << "the error icon";
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);

    // The dialog opens all the same, with no state shown; sending is refused with a reason.
    HWND dialog = program->WaitForWindowTitled(kTitle, 5000);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ItemText(dialog, IDC_INV_STATUS), "");
    SetItemText(dialog, IDC_INV_RECIPIENT, "PC-7");
    SetItemText(dialog, IDC_INV_MESSAGE, "Tee?");
    PostClick(dialog, IDC_INV_SEND);
    ASSERT_TRUE(WaitUntil([&] { return (box = FindBox(*program)) != nullptr; }, 5000));
    EXPECT_EQ(MessageBoxText(box), "Der Nachrichtendienst ist nicht aktiv.");
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return FindBox(*program) == nullptr; }, 5000));

    PostClick(dialog, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }, 3000));
    ExitProgram(10000);
}

} // namespace
