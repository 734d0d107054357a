// Ending the program in every state it can be in: idle, counting, a box or a dialog open, the
// invitation busy. Two ways to be asked: the exit command of the tray menu, and Windows ending
// the session. Each time the Time group is saved, the process is gone within 2 s, and its exit
// code (the number of threads it had to end by force) is 0.
#include "tests/support/running_program.h"
#include "tests/invite_helpers/stand_ins.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <ostream>

namespace registry = brewbell_registry;

namespace {

const char kInvitationTitle[] = "Einladung versenden per Windows Nachrichtendienst";

enum class Ending { ExitCommand, SessionEnd };

// The running program with what a state needs beside it.
struct Scene {
    const Program &program;
    HWND window;
    const stand_ins::MessengerService *service;
    const stand_ins::Net *net;

    HWND Box(const char *text) const
    {
        HWND box = program.WaitForMessageBox(12000);
        return box && MessageBoxText(box) == text ? box : nullptr;
    }
    HWND OpenDialog(UINT command, const char *title) const
    {
        PostCommand(window, command);
        return program.WaitForWindowTitled(title, 5000);
    }
    // The invitation, open and showing the service's state.
    HWND OpenInvitation(const char *state) const
    {
        HWND dialog = OpenDialog(ID_INVITATION, kInvitationTitle);
        return dialog && WaitUntil([&] { return ItemText(dialog, IDC_INV_STATUS) == state; }, 5000) ? dialog : nullptr;
    }
};

struct Stored {
    DWORD min, secLow, secHigh, lastMin, lastSec;
};

struct State {
    const char *name;
    // The set time in the registry before the start (minutes, seconds).
    DWORD min, sec;
    // Brings the running program into the state; false when it did not get there.
    std::function<bool(Scene &)> enter;
    // The Time group after the end.
    Stored expected;
    // Stand-ins to put in place before the start.
    bool service = false;
    bool serviceRunning = false;
    bool net = false;
    // What else the program must have stored by its end (as closing the open dialog stores it).
    std::function<void()> alsoStored = nullptr;
};

void PrintTo(const State &state, std::ostream *out) { *out << state.name; }
void PrintTo(Ending ending, std::ostream *out)
{
    *out << (ending == Ending::ExitCommand ? "exit command" : "session end");
}

void StoreDailyReminderIn(int seconds)
{
    registry::WriteDword("Teatime", "Interval", 0);
    registry::WriteDword("Teatime", "Weekdays", 127);
    registry::WriteDword("Teatime", "Daily", static_cast<DWORD>(std::time(nullptr) + seconds));
}

bool OpensDialog(Scene &s, UINT command, const char *title) { return s.OpenDialog(command, title) != nullptr; }

const State kStates[] = {
    {"Idle", 2, 30, [](Scene &) { return true; }, {2, 30, 30, 0, 0}},
    {"CountingDown",
     1,
     0,
     [](Scene &s) {
         PostClick(s.window, IDC_BUTTON_START);
         return WaitForTitle(s.window, "Brewbell - 00:59", 3000);
     },
     {0, 57, 59, 1, 0}},
    {"CountingUp",
     0,
     0,
     [](Scene &s) {
         PostClick(s.window, IDC_BUTTON_START);
         return WaitForTitle(s.window, "Brewbell - 00:01", 3000);
     },
     {0, 0, 0, 0, 0}},
    {"FinishBoxOpen",
     0,
     1,
     [](Scene &s) {
         PostClick(s.window, IDC_BUTTON_START);
         return s.Box("Ihr Tee ist jetzt fertig!") != nullptr;
     },
     {0, 1, 1, 0, 1}},
    {"ReminderBoxOpen",
     3,
     0,
     [](Scene &s) { return s.Box("Wie wäre es mit einer Tasse Tee?") != nullptr; },
     {3, 0, 0, 0, 0}},
    {"PresetListOpen",
     2,
     30,
     [](Scene &s) { return OpensDialog(s, ID_TEALIST, "Teesorten bearbeiten"); },
     {2, 30, 30, 0, 0}},
    {"QuickSettingOpen",
     2,
     30,
     [](Scene &s) { return OpensDialog(s, ID_QUICKSET, "Schnelleinstellung"); },
     {2, 30, 30, 0, 0}},
    {"MessagesOpen",
     2,
     30,
     [](Scene &s) { return OpensDialog(s, ID_MESSAGES, "Benutzerdefinierte Angaben"); },
     {2, 30, 30, 0, 0}},
    {"MessagesFileChooserOpen",
     2,
     30,
     [](Scene &s) {
         HWND dialog = s.OpenDialog(ID_MESSAGES, "Benutzerdefinierte Angaben");
         if (!dialog)
             return false;
         PostClick(dialog, IDC_ALARM_BROWSE);
         // The system's file chooser: one more visible dialog of the program.
         return WaitUntil(
             [&] {
                 for (HWND w : s.program.TopLevelWindows())
                     if (::IsWindowVisible(w) && w != s.window && w != dialog && ClassName(w) == "#32770")
                         return true;
                 return false;
             },
             5000);
     },
     {2, 30, 30, 0, 0}},
    {"ReminderSettingsOpen",
     2,
     30,
     [](Scene &s) { return OpensDialog(s, ID_REMINDER, "An Teezeit erinnern"); },
     {2, 30, 30, 0, 0}},
    {"AboutOpen", 2, 30, [](Scene &s) { return OpensDialog(s, ID_ABOUT, "Info über Brewbell"); }, {2, 30, 30, 0, 0}},
    {"InvitationOpen",
     2,
     30,
     [](Scene &s) {
         HWND dialog = s.OpenInvitation("Nachrichtendienst ist nicht aktiv.");
         if (!dialog)
             return false;
         // Typed, to be kept: "Eingaben speichern" ticked.
         ::SendMessageA(::GetDlgItem(dialog, IDC_INV_MESSAGE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Tee?"));
         PostClick(dialog, IDC_INV_SAVE_INPUTS);
         return WaitUntil([&] { return ::SendDlgItemMessageA(dialog, IDC_INV_SAVE_INPUTS, BM_GETCHECK, 0, 0) == BST_CHECKED; },
                          3000);
     },
     {2, 30, 30, 0, 0},
     true,
     false,
     false,
     [] {
         std::string message;
         EXPECT_TRUE(registry::ReadString("Netsend", "NSMessage", message) && message == "Tee?") << message;
     }},
    {"InvitationSendPending",
     2,
     30,
     [](Scene &s) {
         HWND dialog = s.OpenInvitation("Nachrichtendienst läuft.");
         if (!dialog)
             return false;
         ::SendMessageA(::GetDlgItem(dialog, IDC_INV_RECIPIENT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("PC-7"));
         ::SendMessageA(::GetDlgItem(dialog, IDC_INV_MESSAGE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Tee?"));
         PostClick(dialog, IDC_INV_SEND);
         // NET has been started and says nothing.
         return WaitUntil([&] { return !s.net->RecordedCommandLine().empty(); }, 5000);
     },
     {2, 30, 30, 0, 0},
     true,
     true,
     true},
    {"ServiceStartPending",
     2,
     30,
     [](Scene &s) {
         HWND dialog = s.OpenInvitation("Nachrichtendienst ist nicht aktiv.");
         if (!dialog)
             return false;
         PostClick(dialog, IDC_INV_START);
         return WaitUntil([&] { return s.service->State() == SERVICE_START_PENDING; }, 3000);
     },
     {2, 30, 30, 0, 0},
     true},
};

// As Windows ends a session: every top-level window of the program is asked whether the session
// may end, then told that it ends. False when a window said no or did not answer.
bool EndSession(const Program &program)
{
    const std::vector<HWND> windows = program.TopLevelWindows();
    for (HWND window : windows) {
        DWORD_PTR answer = 0;
        if (!::SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer)) {
            if (::IsWindow(window))
                return false;
            continue;
        }
        if (!answer)
            return false;
    }
    for (HWND window : windows) {
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    }
    return true;
}

DWORD StoredTime(const char *name)
{
    DWORD value = 0xDEAD;
    registry::ReadDword("Time", name, value);
    return value;
}

void ExpectSaved(const Stored &expected)
{
    EXPECT_EQ(StoredTime("Min"), expected.min);
    EXPECT_GE(StoredTime("Sec"), expected.secLow);
    EXPECT_LE(StoredTime("Sec"), expected.secHigh);
    EXPECT_EQ(StoredTime("LastMin"), expected.lastMin);
    EXPECT_EQ(StoredTime("LastSec"), expected.lastSec);
}

class ExitTest : public RunningProgramTest, public ::testing::WithParamInterface<std::tuple<State, Ending>> {};

TEST_P(ExitTest, EndsWithinTwoSecondsSavingTheTimeWithoutForce)
{
    const auto &[state, ending] = GetParam();
    registry::WriteDword("Time", "Min", state.min);
    registry::WriteDword("Time", "Sec", state.sec);
    if (std::string(state.name) == "ReminderBoxOpen")
        StoreDailyReminderIn(4);

    std::unique_ptr<stand_ins::MessengerService> service;
    if (state.service) {
        service = std::make_unique<stand_ins::MessengerService>();
        ASSERT_TRUE(service->Installed());
        if (state.serviceRunning) {
            ASSERT_TRUE(service->StartAndWait());
        }
    }
    std::unique_ptr<stand_ins::Net> net;
    if (state.net)
        net = std::make_unique<stand_ins::Net>("hang", stand_ins::Where::SystemFolder);
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    Scene scene{*program, window, service.get(), net.get()};
    ASSERT_TRUE(state.enter(scene)) << "the program did not reach the state";

    const DWORD asked = ::GetTickCount();
    if (ending == Ending::ExitCommand) {
        PostCommand(window, ID_TRAY_EXIT);
    } else {
        ASSERT_TRUE(EndSession(*program)) << "a window refused the end of the session";
        // Windows may end the process as soon as the last answer is in: the time is saved by then.
        ExpectSaved(state.expected);
        if (state.alsoStored)
            state.alsoStored();
    }
    const bool ended = program->HasExited(2000);
    const DWORD took = ::GetTickCount() - asked;
    std::printf("exit %-24s %-11s %5lu ms\n", state.name, ending == Ending::ExitCommand ? "command" : "session end",
                static_cast<unsigned long>(took));
    ASSERT_TRUE(ended) << "still running 2 s after it was asked to end";
    EXPECT_EQ(program->ExitCode(), 0u) << "threads ended by force";
    EXPECT_LT(took, 1000u) << "as long as the last-resort wait for a worker";
    ExpectSaved(state.expected);
    if (state.alsoStored)
        state.alsoStored();
}

std::string CaseName(const ::testing::TestParamInfo<ExitTest::ParamType> &info)
{
    return std::string(std::get<0>(info.param).name) +
           (std::get<1>(info.param) == Ending::ExitCommand ? "_ExitCommand" : "_SessionEnd");
}

INSTANTIATE_TEST_SUITE_P(EveryState, ExitTest,
                         ::testing::Combine(::testing::ValuesIn(kStates),
                                            ::testing::Values(Ending::ExitCommand, Ending::SessionEnd)),
                         CaseName);

} // namespace
