#include "app/tray_dialog.h"

#include "framework/dpi.h"
#include "framework/late_bound.h"
#include "framework/message_box.h"
#include "res/resource.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace {
constexpr UINT kTrayIconId = 1;
constexpr char kNoTrayIconText[] =
    "Das Symbol im Infobereich kann nicht angezeigt werden. Brewbell wird deshalb nur minimiert.";

bool NotifyShell(DWORD message, NOTIFYICONDATAA &data)
{
    const auto notifyIcon = LATE_BOUND("shell32.dll", Shell_NotifyIconA);
    return notifyIcon && notifyIcon(message, &data);
}

bool TaskBarExists() { return ::FindWindowA("Shell_TrayWnd", nullptr) != nullptr; }

// The shell announces its notification area to every top-level window when it starts, also
// after a crash or an update: the icons it showed before are gone.
UINT TaskbarCreatedMessage()
{
    static const UINT message = ::RegisterWindowMessageA("TaskbarCreated");
    return message;
}

std::atomic<TrayDialog::AreaQuery> notificationAreaExists{&TaskBarExists};
} // namespace

TrayDialog::AreaQuery TrayDialog::SetNotificationAreaQuery(AreaQuery query)
{
    return notificationAreaExists.exchange(query ? query : &TaskBarExists);
}

TrayDialog::TrayDialog(UINT dialogTemplate) : Dialog(dialogTemplate)
{
    iconData.cbSize = NOTIFYICONDATAA_V1_SIZE;
    iconData.uID = kTrayIconId;
    iconData.uFlags = NIF_MESSAGE;
    iconData.uCallbackMessage = WM_TRAY_CALLBACK;
}

INT_PTR TrayDialog::RunChildDialog(Dialog &dialog)
{
    childDialogs.push_back(&dialog);
    const INT_PTR answer = dialog.DoModal();
    childDialogs.pop_back();
    GiveWindowBack();
    // E.g. without the common controls library.
    if (!dialog.WasOpened())
        AppMessageBox(hwnd, "Das Fenster kann nicht geöffnet werden.", MB_OK | MB_ICONERROR);
    return answer;
}

void TrayDialog::SetTrayIcon(UINT resourceId)
{
    // Shared icons from the module need no clean-up. The shell draws the notification area at the
    // screen's scaling, wherever the window is.
    HICON icon = LoadIconForDpi(resourceId, SM_CXSMICON, ScreenDpi());
    if (!icon)
        return;
    iconData.hIcon = icon;
    iconData.uFlags |= NIF_ICON;
}

void TrayDialog::SetTrayTip(const char *text)
{
    // The first shell version's tooltip holds 63 characters and the terminator.
    constexpr size_t kTipCapacity = 64;
    const size_t length = std::min(std::strlen(text), kTipCapacity - 1);
    std::memcpy(iconData.szTip, text, length);
    iconData.szTip[length] = '\0';
    iconData.uFlags |= NIF_TIP;
}

bool TrayDialog::LoadTrayMenu(UINT resourceId)
{
    trayMenu.reset(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId)));
    return static_cast<bool>(trayMenu);
}

bool TrayDialog::ShowTrayIcon()
{
    if (iconShown)
        return true;
    if (NotifyShell(NIM_ADD, iconData))
        iconShown = 1;
    return iconShown != 0;
}

void TrayDialog::UpdateTrayIcon()
{
    if (iconShown)
        NotifyShell(NIM_MODIFY, iconData);
}

void TrayDialog::OnTrayLButtonDown(POINT)
{
    Show(SW_RESTORE);
    ::SetForegroundWindow(hwnd);
}

void TrayDialog::OnTrayLButtonDblClk(POINT) {}

void TrayDialog::OnTrayRButtonDown(POINT point)
{
    HMENU popup = ::GetSubMenu(trayMenu.get(), 0);
    if (!popup)
        return;
    ::SetMenuDefaultItem(popup, static_cast<UINT>(defaultTrayItem), TRUE);
    // Without the foreground and the null message after it, the popup would not close when
    // the user clicks elsewhere.
    ::SetForegroundWindow(hwnd);
    ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_BOTTOMALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, hwnd, nullptr);
    Post(WM_NULL);
}

void TrayDialog::OnTrayRButtonDblClk(POINT) {}

void TrayDialog::OnTrayMouseMove(POINT) {}

bool TrayDialog::OnInitDialog()
{
    iconData.hWnd = hwnd;
    iconData.uID = kTrayIconId;
    return Dialog::OnInitDialog();
}

bool TrayDialog::ProcessMessage(Message &m)
{
    static const MapEntry<TrayDialog> messageMap[] = {
        ON_MESSAGE(WM_SYSCOMMAND, &TrayDialog::OnSysCommand),
        ON_MESSAGE(WM_TRAY_CALLBACK, &TrayDialog::OnTrayCallback),
        ON_MESSAGE(WM_ENABLE, &TrayDialog::OnEnable),
        ON_MESSAGE(WM_DESTROY, &TrayDialog::OnDestroy),
        ON_MESSAGE(TaskbarCreatedMessage(), &TrayDialog::OnTaskbarCreated),
    };
    return DispatchMessageMap(this, messageMap, m) || Dialog::ProcessMessage(m);
}

void TrayDialog::HideToTray()
{
    // Hidden without an icon, the window could not be brought back: then it is only minimised
    // until the shell gives the icon. A shell that is there and refuses it is reported, once; one
    // that has not started yet (at logon) is waited for without a word.
    if (!ShowTrayIcon()) {
        hideWhenIconShows = true;
        if (!trayRefusalReported && notificationAreaExists.load()()) {
            trayRefusalReported = true;
            AppMessageBox(hwnd, kNoTrayIconText, MB_OK | MB_ICONINFORMATION);
        }
        Show(SW_MINIMIZE);
        return;
    }
    hideWhenIconShows = false;
    Show(SW_MINIMIZE);
    Show(SW_HIDE);
}

bool TrayDialog::OnTaskbarCreated(Message &)
{
    // The icon goes back wherever it was shown, with its current picture and tip (the record
    // keeps them); a window that waited for it, still minimised, hides now.
    const bool wasShown = iconShown != 0;
    iconShown = 0;
    if (hideWhenIconShows && IsMinimized()) {
        HideToTray();
        return true;
    }
    hideWhenIconShows = false;
    if (wasShown)
        ShowTrayIcon();
    return true;
}

bool TrayDialog::OnSysCommand(Message &m)
{
    const UINT command = static_cast<UINT>(m.wParam & 0xFFF0);
    if ((command == SC_MINIMIZE && hideOnMinimize == 1) || (command == SC_CLOSE && HidesOnClose())) {
        HideToTray();
        return true;
    }
    return false;
}

// A child dialog that has not ended yet; one that has ended may give the window back.
bool TrayDialog::KeepsWindowDisabled() const
{
    return std::any_of(childDialogs.begin(), childDialogs.end(), [](const Dialog *d) { return !d->IsEnded(); });
}

void TrayDialog::GiveWindowBack()
{
    // Under an open box the window waits for the box to close, whichever ended first.
    if (enableHeldBack && !KeepsWindowDisabled() && !IsBoxOpen()) {
        enableHeldBack = false;
        ::EnableWindow(hwnd, TRUE);
    }
}

bool TrayDialog::OnEnable(Message &m)
{
    // A box enables its owner when it ends, also while a dialog opened after it is still open on
    // the window: the window would take clicks under that dialog.
    if (!m.wParam || !KeepsWindowDisabled())
        return false;
    enableHeldBack = true;
    ::EnableWindow(hwnd, FALSE);
    return true;
}

bool TrayDialog::OnTrayCallback(Message &m)
{
    if (IsModalOpen() || m.wParam != kTrayIconId)
        return true;
    POINT point{};
    ::GetCursorPos(&point);
    switch (static_cast<UINT>(m.lParam)) {
    case WM_LBUTTONDOWN:
        OnTrayLButtonDown(point);
        break;
    case WM_LBUTTONDBLCLK:
        OnTrayLButtonDblClk(point);
        break;
    case WM_RBUTTONDOWN:
    case WM_CONTEXTMENU:
        OnTrayRButtonDown(point);
        break;
    case WM_RBUTTONDBLCLK:
        OnTrayRButtonDblClk(point);
        break;
    case WM_MOUSEMOVE:
        OnTrayMouseMove(point);
        break;
    default:
        break;
    }
    return true;
}

bool TrayDialog::OnDestroy(Message &)
{
    if (iconData.hWnd && iconData.uID && iconShown) {
        NotifyShell(NIM_DELETE, iconData);
        iconShown = 0;
    }
    return false;
}
