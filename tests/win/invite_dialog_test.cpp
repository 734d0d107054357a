#include "tests/support/box_answerer.h"
#include "invite/invitation_dialog.h"
#include "res/resource.h"
#include "settings/settings_store.h"
#include "test_support.h"
#include "tests/invite_helpers/stand_ins.h"
#include "tests/support/dialog_run.h"
#include "tests/support/memory_value_store.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace {

// Types at the end of the message field, as a keyboard would append.
void AppendMessage(HWND dialog, const std::string &text)
{
    HWND field = ::GetDlgItem(dialog, IDC_INV_MESSAGE);
    const int end = ::GetWindowTextLengthA(field);
    ::SendMessageA(field, EM_SETSEL, end, end);
    ::SendMessageA(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

// Replaces the opening calls of the service for one test.
class RefusedOpening {
public:
    RefusedOpening(bool atManager, DWORD error) : saved_(serviceOpeners)
    {
        error_ = error;
        if (atManager)
            serviceOpeners.openManager = RefuseManager;
        else
            serviceOpeners.openService = RefuseService;
    }
    ~RefusedOpening() { serviceOpeners = saved_; }

private:
    static SC_HANDLE WINAPI RefuseManager(LPCSTR, LPCSTR, DWORD)
    {
        ::SetLastError(error_);
        return nullptr;
    }
    static SC_HANDLE WINAPI RefuseService(SC_HANDLE, LPCSTR, DWORD)
    {
        ::SetLastError(error_);
        return nullptr;
    }
    static inline DWORD error_ = 0;
    ServiceOpeners saved_;
};

// The stand-in NET beside this test program, started in the system's place for one test.
class StandInNet : public stand_ins::Net {
public:
    explicit StandInNet(const char *mode = "") : stand_ins::Net(mode), saved_(netProgramPath)
    {
        netProgramPath = StandInPath;
    }
    ~StandInNet() { netProgramPath = saved_; }

private:
    static std::string StandInPath() { return stand_ins::ProgramFolder() + "net.exe"; }
    std::string (*saved_)();
};

struct Invitation {
    MemoryValueStore values;
    SettingsStore store{values};
    DWORD closeMs = 0;

    // Opens the dialog, runs the body inside its modal loop, then closes it with "Abbrechen"
    // unless the body did; closing is timed. No worker may outlive the dialog.
    void Run(const std::function<void(InvitationDialog &, HWND)> &body)
    {
        InvitationDialog dialog(store.settings, store);
        // Not inside a message box that the dialog's start-up shows: the body waits until it is answered.
        RunOptions options;
        options.waitForNoBox = true;
        options.endLeftOpen = [this](Dialog &d) { Close(d.GetSafeHwnd()); };
        RunModal(dialog, [&](HWND window) { body(dialog, window); }, options);
        EXPECT_FALSE(dialog.AnyWorkerRunning());
    }

    void Close(HWND dialog)
    {
        const DWORD start = ::GetTickCount();
        Command(dialog, IDCANCEL);
        closeMs = ::GetTickCount() - start;
    }
};

COLORREF LampPixel(HWND dialog, int x, int y)
{
    const auto bitmap =
        reinterpret_cast<HBITMAP>(::SendDlgItemMessageA(dialog, IDC_INV_LAMP, STM_GETIMAGE, IMAGE_BITMAP, 0));
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ previous = ::SelectObject(dc, bitmap);
    const COLORREF colour = ::GetPixel(dc, x, y);
    ::SelectObject(dc, previous);
    ::DeleteDC(dc);
    return colour;
}

// The lamp picture: which of its two lamps is lit.
std::string LitLamps(HWND dialog)
{
    const COLORREF yellow = LampPixel(dialog, 12, 14), green = LampPixel(dialog, 12, 31);
    std::string lit;
    if (GetRValue(yellow) > 180 && GetGValue(yellow) > 140 && GetBValue(yellow) < 140)
        lit += "yellow";
    if (GetGValue(green) > 150 && GetRValue(green) < 150)
        lit += "green";
    return lit.empty() ? "none" : lit;
}

struct ShownState {
    std::string text;
    bool start, stop, send;
    std::string lamps;
    bool operator==(const ShownState &) const = default;
};

ShownState Shown(HWND dialog)
{
    return {ItemText(dialog, IDC_INV_STATUS), IsItemEnabled(dialog, IDC_INV_START), IsItemEnabled(dialog, IDC_INV_STOP),
            IsItemEnabled(dialog, IDC_INV_SEND), LitLamps(dialog)};
}

void PrintTo(const ShownState &s, std::ostream *os)
{
    *os << '"' << s.text << "\" " << s.start << s.stop << s.send << ' ' << s.lamps;
}

// Pumps until the status line reads the text, collecting every different status seen on the way.
bool WaitForStatus(HWND dialog, const std::string &text, std::vector<std::string> *seen = nullptr,
                   DWORD timeoutMs = 8000)
{
    return PumpUntil(
        [&] {
            const std::string now = ItemText(dialog, IDC_INV_STATUS);
            if (seen && (seen->empty() || seen->back() != now))
                seen->push_back(now);
            return now == text;
        },
        timeoutMs);
}

const char kStopped[] = "Nachrichtendienst ist nicht aktiv.";
const char kStarting[] = "Nachrichtendienst wird gestartet. Bitte warten...";
const char kStopping[] = "Nachrichtendienst wird beendet. Bitte warten...";
const char kRunning[] = "Nachrichtendienst läuft.";
const char kSending[] = "Nachricht wird gesendet. Bitte warten...";

TEST(InvitationDialog, TemplateSizeDefaultButtonAndMessageField)
{
    RefusedOpening refused(true, ERROR_ACCESS_DENIED);
    Invitation invitation;
    invitation.Run([](InvitationDialog &, HWND dialog) {
        EXPECT_EQ(Text(dialog), "Einladung versenden per Windows Nachrichtendienst");
        RECT units{0, 0, 279, 249}, client;
        ::MapDialogRect(dialog, &units);
        ::GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, units.right);
        EXPECT_EQ(client.bottom, units.bottom);
        EXPECT_EQ(LOWORD(::SendMessageA(dialog, DM_GETDEFID, 0, 0)), IDC_INV_SEND);
        // Enter in the message field makes a new line instead of pressing the default button.
        const LONG message = ::GetWindowLongA(::GetDlgItem(dialog, IDC_INV_MESSAGE), GWL_STYLE);
        EXPECT_TRUE((message & ES_MULTILINE) && (message & ES_WANTRETURN) && (message & ES_AUTOVSCROLL));
        EXPECT_FALSE(message & WS_VSCROLL) << "it scrolls by itself, without a bar";
        const LONG status = ::GetWindowLongA(::GetDlgItem(dialog, IDC_INV_STATUS), GWL_STYLE);
        EXPECT_TRUE((status & ES_READONLY) && (status & ES_CENTER));
    });
}

TEST(InvitationDialog, FollowsTheServiceThroughStartAndStop)
{
    stand_ins::MessengerService service;
    ASSERT_TRUE(service.Installed());
    BoxAnswerer boxes({}, "Brewbell");
    Invitation invitation;
    invitation.Run([&](InvitationDialog &, HWND window) {
        // Before the first poll: the any-other-state row.
        EXPECT_EQ(Shown(window), (ShownState{"Nachrichtendienst angehalten.", true, false, false, "yellow"}));
        ASSERT_TRUE(WaitForStatus(window, kStopped));
        EXPECT_EQ(Shown(window), (ShownState{kStopped, true, false, false, "none"}));

        // Sending needs the running service.
        Command(window, IDC_INV_SEND);
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Der Nachrichtendienst ist nicht aktiv."});
        // A refused request is reported with the system's reason (stopping a stopped service).
        Command(window, IDC_INV_STOP);
        ASSERT_TRUE(PumpUntil([&] { return boxes.Count() == 2; }));
        const std::string refusal = boxes.Texts()[1];
        const std::string caption = "Nachrichtendienst konnte nicht angehalten werden:\n";
        EXPECT_EQ(refusal.rfind(caption, 0), 0u) << refusal;
        EXPECT_GT(refusal.size(), caption.size());

        std::vector<std::string> seen;
        Click(window, IDC_INV_START);
        ASSERT_TRUE(WaitForStatus(window, kRunning, &seen));
        EXPECT_EQ(seen, (std::vector<std::string>{kStopped, kStarting, kRunning}));
        EXPECT_EQ(Shown(window), (ShownState{kRunning, false, true, true, "green"}));
        EXPECT_TRUE(::IsWindowEnabled(::GetFocus())) << "the focus left \"Starten\" before it was disabled";

        seen.clear();
        Click(window, IDC_INV_STOP);
        ASSERT_TRUE(WaitForStatus(window, kStopping, &seen));
        EXPECT_EQ(Shown(window), (ShownState{kStopping, false, false, false, "yellow"}));
        ASSERT_TRUE(WaitForStatus(window, kStopped, &seen));
        EXPECT_EQ(seen, (std::vector<std::string>{kRunning, kStopping, kStopped}));

        // Closing while the start is still pending neither waits for the service nor hangs.
        Click(window, IDC_INV_START);
        ASSERT_TRUE(WaitForStatus(window, kStarting));
        invitation.Close(window);
    });
    EXPECT_LT(invitation.closeMs, 700u);
    EXPECT_EQ(boxes.Count(), 2u);

    // The same while a stop is pending.
    ASSERT_TRUE(service.WaitFor(SERVICE_RUNNING));
    invitation.Run([&](InvitationDialog &, HWND window) {
        ASSERT_TRUE(WaitForStatus(window, kRunning));
        Click(window, IDC_INV_STOP);
        ASSERT_TRUE(WaitForStatus(window, kStopping));
        invitation.Close(window);
    });
    EXPECT_LT(invitation.closeMs, 700u);
    EXPECT_TRUE(service.WaitFor(SERVICE_STOPPED)) << "the service went on stopping by itself";
}

TEST(InvitationDialog, OpeningFailuresShowTheRightState)
{
    {
        // No right to open the service: sending still works, the service buttons do not.
        RefusedOpening refused(false, ERROR_ACCESS_DENIED);
        Invitation invitation;
        invitation.Run([](InvitationDialog &dialog, HWND window) {
            EXPECT_EQ(Shown(window), (ShownState{"Statusinformationen nicht verfügbar (keine Berechtigung).", false,
                                                 false, true, "yellow"}));
            EXPECT_FALSE(dialog.AnyWorkerRunning()) << "no poller";
        });
    }
    {
        // Any other failure: the system's text in a box, and no state at all.
        RefusedOpening refused(false, ERROR_SERVICE_DOES_NOT_EXIST);
        BoxAnswerer boxes({}, "Brewbell");
        Invitation invitation;
        invitation.Run([&](InvitationDialog &dialog, HWND window) {
            ASSERT_EQ(boxes.Count(), 1u);
            const std::string text = boxes.Texts()[0];
            EXPECT_EQ(text.rfind("Zugriff nicht möglich:\n", 0), 0u) << text;
            EXPECT_GT(text.size(), std::strlen("Zugriff nicht möglich:\n"));
            EXPECT_LE(text.size(), 255u);
            EXPECT_EQ(ItemText(window, IDC_INV_STATUS), "");
            EXPECT_EQ(LitLamps(window), "none") << "no lamp says the service runs";
            EXPECT_FALSE(dialog.AnyWorkerRunning());
            EXPECT_TRUE(::IsWindowVisible(window)) << "the dialog stays open";
        });
    }
}

TEST(InvitationDialog, InputsFollowModeLimitsAndClear)
{
    RefusedOpening refused(true, ERROR_ACCESS_DENIED);
    BoxAnswerer boxes({}, "Brewbell");
    Invitation invitation;
    invitation.store.settings.recipient = "PC-7";
    invitation.store.settings.nsMessage = std::string(300, 'm'); // longer than allowed
    invitation.store.settings.saveSettings = 1;
    invitation.Run([&](InvitationDialog &, HWND window) {
        HWND field = ::GetDlgItem(window, IDC_INV_MESSAGE);
        EXPECT_EQ(ItemText(window, IDC_INV_RECIPIENT), "PC-7");
        EXPECT_EQ(ItemText(window, IDC_INV_MESSAGE), std::string(250, 'm')) << "a stored message is limited too";
        EXPECT_EQ(ItemText(window, IDC_INV_COUNT), "250");
        EXPECT_EQ(::SendDlgItemMessageA(window, IDC_INV_SAVE_INPUTS, BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_EQ(::SendDlgItemMessageA(window, IDC_INV_MODE_MEMBER, BM_GETCHECK, 0, 0), BST_CHECKED);

        // The 251st character is cut again; the caret stays at the end.
        AppendMessage(window, "z");
        EXPECT_EQ(ItemText(window, IDC_INV_MESSAGE), std::string(250, 'm'));
        EXPECT_EQ(ItemText(window, IDC_INV_COUNT), "250");
        DWORD from = 0, to = 0;
        ::SendMessageA(field, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
        EXPECT_EQ(from, 250u);
        EXPECT_EQ(to, 250u);

        // Mode 2: a lower limit, applied at the next change; the recipient field is not needed.
        Click(window, IDC_INV_MODE_OWN);
        EXPECT_EQ(ItemText(window, IDC_INV_MAXCHARS), "128");
        EXPECT_FALSE(IsItemEnabled(window, IDC_INV_RECIPIENT));
        EXPECT_EQ(::GetFocus(), field);
        EXPECT_EQ(ItemText(window, IDC_INV_COUNT), "250");
        AppendMessage(window, "x");
        EXPECT_EQ(ItemText(window, IDC_INV_MESSAGE), std::string(128, 'm'));
        EXPECT_EQ(ItemText(window, IDC_INV_COUNT), "128");
        Click(window, IDC_INV_MODE_DOMAIN);
        EXPECT_EQ(ItemText(window, IDC_INV_MAXCHARS), "128");
        EXPECT_TRUE(IsItemEnabled(window, IDC_INV_RECIPIENT));
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(window, IDC_INV_RECIPIENT));
        Click(window, IDC_INV_MODE_MEMBER);
        EXPECT_EQ(ItemText(window, IDC_INV_MAXCHARS), "250");

        // A line break counts as typed.
        AppendMessage(window, "\r\nx");
        EXPECT_EQ(ItemText(window, IDC_INV_COUNT), "131");

        // "Leeren" empties both fields and the counter.
        Click(window, IDC_INV_CLEAR);
        EXPECT_EQ(ItemText(window, IDC_INV_MESSAGE), "");
        EXPECT_EQ(ItemText(window, IDC_INV_RECIPIENT), "");
        EXPECT_EQ(ItemText(window, IDC_INV_COUNT), "0");
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(window, IDC_INV_RECIPIENT));

        // Validation, each with its box and the focus on the field concerned.
        AppendMessage(window, "Tee?");
        Click(window, IDC_INV_SEND);
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(window, IDC_INV_RECIPIENT));
        ::SetDlgItemTextA(window, IDC_INV_RECIPIENT, "PC-7");
        ::SetDlgItemTextA(window, IDC_INV_MESSAGE, "");
        Click(window, IDC_INV_SEND);
        EXPECT_EQ(::GetFocus(), field);
        EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Es wurde kein Empfänger angegeben.",
                                                           "Es wurde kein Nachrichtentext eingegeben."}));

        // Escape does not close the dialog.
        ::SetFocus(field);
        ::PostMessageA(field, WM_KEYDOWN, VK_ESCAPE, 0);
        ::PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
        PumpUntil([] { return false; }, 100);
        EXPECT_TRUE(::IsWindowVisible(window));
        ::SetDlgItemTextA(window, IDC_INV_MESSAGE, "Tee um vier");
    });
    // Kept for next time: the flag was on.
    EXPECT_EQ(invitation.values.readString("Netsend", "Recipient", ""), "PC-7");
    EXPECT_EQ(invitation.values.readString("Netsend", "NSMessage", ""), "Tee um vier");
    EXPECT_EQ(invitation.values.readDword("Netsend", "SaveSettings", 0), 1u);

    // With the flag off, both texts are stored empty.
    invitation.Run([](InvitationDialog &, HWND window) {
        EXPECT_EQ(ItemText(window, IDC_INV_MESSAGE), "Tee um vier");
        Click(window, IDC_INV_SAVE_INPUTS);
    });
    EXPECT_EQ(invitation.values.readString("Netsend", "Recipient", ""), "");
    EXPECT_EQ(invitation.values.readString("Netsend", "NSMessage", ""), "");
    EXPECT_EQ(invitation.values.readDword("Netsend", "SaveSettings", 0), 0u);

    // A registry that refuses every write: only inputs the user asked to keep are missed.
    invitation.values.readOnly = true;
    const std::size_t boxesBefore = boxes.Count();
    invitation.Run([](InvitationDialog &, HWND) {});
    EXPECT_EQ(boxes.Count(), boxesBefore) << "nothing was to be kept";
    invitation.Run([](InvitationDialog &, HWND window) { Click(window, IDC_INV_SAVE_INPUTS); });
    EXPECT_EQ(boxes.Texts().back(), "Die Eingaben konnten nicht in der Registrierung gespeichert werden.");
}

// What the screen shows of a control: a checksum and how many pixels are not white.
struct Snapshot {
    std::uint32_t sum = 0;
    int inked = 0;
};

Snapshot Snap(HWND control)
{
    RECT area;
    ::GetWindowRect(control, &area);
    HDC screen = ::GetDC(nullptr);
    Snapshot shot;
    for (int y = area.top; y < area.bottom; y += 2) {
        for (int x = area.left; x < area.right; x += 2) {
            const COLORREF c = ::GetPixel(screen, x, y);
            shot.sum = shot.sum * 31 + c;
            shot.inked += c != RGB(255, 255, 255);
        }
    }
    ::ReleaseDC(nullptr, screen);
    return shot;
}

// Sends one message and returns the text of the result box.
std::string Send(HWND window, BoxAnswerer &boxes, int mode, const std::string &recipient, const std::string &message)
{
    Click(window, IDC_INV_MODE_MEMBER + mode);
    ::SetDlgItemTextA(window, IDC_INV_RECIPIENT, recipient.c_str());
    ::SetDlgItemTextA(window, IDC_INV_MESSAGE, message.c_str());
    const std::size_t before = boxes.Count();
    Click(window, IDC_INV_SEND);
    EXPECT_FALSE(IsItemEnabled(window, IDC_INV_SEND));
    EXPECT_FALSE(IsItemEnabled(window, IDC_INV_STOP));
    EXPECT_TRUE(WaitForStatus(window, kSending, nullptr, 2000));
    // The animation plays: the letter moves across the control.
    HWND animation = ::GetDlgItem(window, IDC_INV_ANIMATION);
    std::vector<std::uint32_t> frames;
    PumpUntil(
        [&] {
            const Snapshot now = Snap(animation);
            if (now.inked > 20 && std::find(frames.begin(), frames.end(), now.sum) == frames.end())
                frames.push_back(now.sum);
            return frames.size() >= 3;
        },
        900);
    EXPECT_GE(frames.size(), 3u) << "distinct frames with the letter in them";
    if (!PumpUntil([&] { return boxes.Count() > before; }, 8000))
        return "(no box)";
    PumpUntil([&] { return IsItemEnabled(window, IDC_INV_SEND); }, 2000);
    return boxes.Texts().back();
}

TEST(InvitationDialog, SendsLongInputsUnchangedAndCutsALongAnswer)
{
    RefusedOpening refused(true, ERROR_ACCESS_DENIED);
    StandInNet net;
    ASSERT_TRUE(net.Placed());
    BoxAnswerer boxes({}, "Brewbell");
    Invitation invitation;
    invitation.Run([&](InvitationDialog &, HWND window) {
        // The longest inputs, with quotes, a line break and characters above 127.
        const std::string recipient(255, 'r');
        const std::string message = "\"Tee\"\r\n" + std::string(243, '\xE4'); // 250 characters
        EXPECT_EQ(Send(window, boxes, 0, recipient, message), "Die Nachricht wurde gesendet.\r\n");
        EXPECT_EQ(net.RecordedCommandLine(), "NET SEND \"" + recipient + "\" \"" + message + "\"");
        EXPECT_FALSE(IsItemEnabled(window, IDC_INV_STOP)) << "no service access";

        // More output than the buffer holds is cut at it.
        net.SetMode("long");
        EXPECT_EQ(Send(window, boxes, 3, "", "Tee?"), std::string(255, 'L'));
        EXPECT_EQ(net.RecordedCommandLine(), "NET SEND /USERS \"Tee?\"");
    });
}

TEST(InvitationDialog, NetIsTheSystemsNotOneBesideTheProgram)
{
    RefusedOpening refused(true, ERROR_ACCESS_DENIED);
    stand_ins::Net planted; // where a download could have put one
    BoxAnswerer boxes({}, "Brewbell");
    Invitation invitation;
    invitation.Run([&](InvitationDialog &, HWND window) {
        const std::string answer = Send(window, boxes, 2, "", "Tee?");
        EXPECT_NE(answer, "Die Nachricht wurde gesendet.\r\n");
        EXPECT_NE(answer, "") << "the system's NET answered";
        EXPECT_EQ(planted.RecordedCommandLine(), "");
    });
}

TEST(InvitationDialog, NetsAnswerInTheConsolesCodePageShowsInTheWindowsOne)
{
    if (::GetOEMCP() != 437 && ::GetOEMCP() != 850)
        GTEST_SKIP() << "the stand-in writes code page 437 or 850";
    RefusedOpening refused(true, ERROR_ACCESS_DENIED);
    StandInNet net("oem");
    BoxAnswerer boxes({}, "Brewbell");
    Invitation invitation;
    invitation.Run([&](InvitationDialog &, HWND window) {
        EXPECT_EQ(Send(window, boxes, 0, "PC-7", "Tee?"), "Der Empfängername ist ungültig.\r\n");
    });
}

TEST(InvitationDialog, ClosingWhileSendingEndsEverythingAtOnce)
{
    RefusedOpening refused(true, ERROR_ACCESS_DENIED);
    StandInNet net("hang");
    BoxAnswerer boxes({}, "Brewbell");
    Invitation invitation;
    invitation.Run([&](InvitationDialog &, HWND window) {
        Click(window, IDC_INV_MODE_OWN);
        ::SetDlgItemTextA(window, IDC_INV_MESSAGE, "Tee?");
        Click(window, IDC_INV_SEND);
        ASSERT_TRUE(WaitForStatus(window, kSending));
        // Past the start delay: NET runs and says nothing.
        ASSERT_TRUE(PumpUntil([&] { return !net.RecordedCommandLine().empty(); }, 5000));
        invitation.Close(window);
    });
    EXPECT_LT(invitation.closeMs, 1000u);
    EXPECT_EQ(boxes.Count(), 0u) << "no result box after closing";

    // Closing during the start delay, before NET runs.
    net.ForgetCommandLine();
    invitation.Run([&](InvitationDialog &, HWND window) {
        Click(window, IDC_INV_MODE_OWN);
        ::SetDlgItemTextA(window, IDC_INV_MESSAGE, "Tee?");
        Click(window, IDC_INV_SEND);
        invitation.Close(window);
    });
    EXPECT_LT(invitation.closeMs, 1000u);
    ::Sleep(1200);
    EXPECT_EQ(net.RecordedCommandLine(), "") << "nothing sent after closing";

    // Two sends under way, and the session ends while closing waits for them: the close still
    // ends everything, once, and asks nothing after the end (the registry refuses the inputs).
    invitation.store.settings.saveSettings = 1;
    invitation.values.readOnly = true;
    invitation.Run([&](InvitationDialog &dialog, HWND window) {
        Click(window, IDC_INV_MODE_OWN);
        ::SetDlgItemTextA(window, IDC_INV_MESSAGE, "Tee?");
        Click(window, IDC_INV_SEND);
        Command(window, IDC_INV_SEND); // past the disabled button
        ASSERT_TRUE(PumpUntil([&] { return !net.RecordedCommandLine().empty(); }, 5000));
        QueueSessionEnd(window);
        invitation.Close(window);
        EXPECT_TRUE(dialog.IsEnded());
    });
    EXPECT_LT(invitation.closeMs, 1000u);
    EXPECT_EQ(boxes.Count(), 0u);
}

} // namespace

namespace {


TEST(InvitationDialog, BrowsingForAComputerAndCancellingKeepsTheRecipient)
{
    RefusedOpening refused(true, ERROR_ACCESS_DENIED);
    Invitation invitation;
    invitation.store.settings.recipient = "PC-7";
    invitation.Run([&](InvitationDialog &, HWND window) {
        // The folder browser runs its own modal loop: a worker finds it and cancels it.
        const DWORD uiThread = ::GetCurrentThreadId();
        std::atomic<bool> cancelled{false};
        std::atomic<bool> prompted{false};
        WorkerThread canceller;
        canceller.Start([&] {
            const DWORD start = ::GetTickCount();
            while (!cancelled && ::GetTickCount() - start < 5000) {
                if (HWND chooser = OtherVisibleWindow(uiThread, window)) {
                    prompted = ::FindWindowExA(chooser, nullptr, "Static",
                                               "Wählen Sie hier den Computer des Empfängers Ihrer Nachricht aus:");
                    ::PostMessageA(chooser, WM_COMMAND, IDCANCEL, 0);
                    cancelled = true;
                }
                ::Sleep(20);
            }
        });
        Click(window, IDC_INV_BROWSE);
        canceller.Wait(6000);
        EXPECT_TRUE(cancelled) << "the browser appeared";
        EXPECT_TRUE(prompted) << "with our prompt";
        EXPECT_EQ(ItemText(window, IDC_INV_RECIPIENT), "PC-7");
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(window, IDC_INV_RECIPIENT));
    });
}

} // namespace
