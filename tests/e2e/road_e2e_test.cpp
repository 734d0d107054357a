// One road through the program that touches every library it binds when first used: a 3-second
// tea to its finish box (the sound), the window hidden in the notification area and brought back
// (the icon), every dialog opened and closed (the common controls), the sound file chooser, a link
// of the About box (the shell), and the exit. Where 32-bit programs cannot run natively, the test
// command runs the shipped 32-bit program under an emulator and this test drives it from outside
// (BREWBELL_E2E_ATTACH), without the file chooser; elsewhere the test starts the program itself.
#include "tests/support/running_program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

namespace registry = brewbell_registry;

namespace {

// A visible dialog of the program that is none of the given windows: a chooser the system made.
HWND OtherDialog(const Program &program, std::initializer_list<HWND> known)
{
    for (HWND window : program.TopLevelWindows()) {
        if (!::IsWindowVisible(window) || ClassName(window) != "#32770")
            continue;
        if (std::find(known.begin(), known.end(), window) == known.end())
            return window;
    }
    return nullptr;
}

struct Dialog {
    UINT command;
    const char *title;
};

const Dialog kDialogs[] = {
    {ID_TEALIST, "Teesorten bearbeiten"},
    {ID_QUICKSET, "Schnelleinstellung"},
    {ID_MESSAGES, "Benutzerdefinierte Angaben"},
    {ID_REMINDER, "An Teezeit erinnern"},
    {ID_ABOUT, "Info über Brewbell"},
    {ID_INVITATION, "Einladung versenden per Windows Nachrichtendienst"},
};

class ShippedRoad : public RunningProgramTest {};

} // namespace

TEST_F(ShippedRoad, TeaTrayEveryDialogTheFileChooserALinkAndTheExit)
{
    // Under the emulator each library's first use costs seconds, the file chooser's most.
    const DWORD patience = AttachesToRunningProgram() ? 90000 : 10000;
    ASSERT_NO_FATAL_FAILURE(StartProgram());

    // A 3-second tea: the finish box comes with its sound, and the time comes back.
    for (int i = 0; i < 3; ++i)
        PostClick(window, IDC_BUTTON_SEC);
    ASSERT_TRUE(WaitForTitle(window, "Brewbell - 00:03"));
    PostClick(window, IDC_BUTTON_START);
    HWND box = program->WaitForMessageBox(patience);
    ASSERT_NE(box, nullptr) << "no finish box";
    EXPECT_EQ(MessageBoxText(box), "Ihr Tee ist jetzt fertig!");
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box); }));
    ASSERT_TRUE(WaitForTitle(window, "Brewbell - 00:03"));

    // Into the notification area and back: hidden only once the icon is there.
    PostCommand(window, ID_OPT_TRAY);
    ::PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(window); }, patience)) << "not hidden in the tray";
    EXPECT_EQ(program->FindMessageBox(), nullptr) << MessageBoxText(program->FindMessageBox());
    ::PostMessageA(window, WM_TRAY_CALLBACK, 1, WM_LBUTTONDOWN);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) && !::IsIconic(window); }));

    for (const Dialog &entry : kDialogs) {
        SCOPED_TRACE(entry.title);
        PostCommand(window, entry.command);
        // The invitation asks for the messenger service first, which Wine does not have: its
        // answer comes in a box.
        HWND dialog = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            if (HWND answer = program->FindMessageBox())
                ::PostMessageA(answer, WM_COMMAND, IDOK, 0);
            return (dialog = program->WaitForWindowTitled(entry.title, 0)) != nullptr;
        }, patience));
        // The file chooser brings the emulator down (qemu-i386 ends with SIGSEGV while it opens;
        // the same program runs it natively), so the emulated road leaves it out.
        if (entry.command == ID_MESSAGES && !AttachesToRunningProgram()) {
            PostClick(dialog, IDC_ALARM_BROWSE);
            HWND chooser = nullptr;
            ASSERT_TRUE(
                WaitUntil([&] { return (chooser = OtherDialog(*program, {window, dialog})) != nullptr; }, patience))
                << "no file chooser";
            ::PostMessageA(chooser, WM_COMMAND, IDCANCEL, 0);
            ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(chooser); }));
        }
        if (entry.command == ID_ABOUT) {
            // The link asks the shell to open its address; whatever the shell answers, the
            // program carries on.
            HWND link = ::GetDlgItem(dialog, IDC_LINK_WEB);
            ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_LINK_WEB, STN_CLICKED), reinterpret_cast<LPARAM>(link));
            ::Sleep(500);
            EXPECT_EQ(program->FindMessageBox(), nullptr) << MessageBoxText(program->FindMessageBox());
        }
        ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        // Emulated, the shell takes its time over the link: it starts the browser, itself emulated.
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }, patience));
        EXPECT_TRUE(::IsWindowEnabled(window));
    }

    ASSERT_NO_FATAL_FAILURE(ExitProgram(patience));
    // The time it started with is saved.
    const std::pair<const char *, DWORD> saved[] = {{"Min", 0}, {"Sec", 3}, {"LastMin", 0}, {"LastSec", 3}};
    for (const auto &[name, expected] : saved) {
        DWORD value = 99;
        EXPECT_TRUE(registry::ReadDword("Time", name, value)) << name;
        EXPECT_EQ(value, expected) << name;
    }
}
