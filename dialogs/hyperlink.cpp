#include "dialogs/hyperlink.h"

#include "framework/dpi.h"
#include "framework/late_bound.h"
#include "framework/message_box.h"

#include <shellapi.h>
#include <windowsx.h>

#include <atomic>
#include <string>
#include <utility>

namespace {

constexpr WORD kHelpHandCursor = 106;

void OpenWithShell(const char *target)
{
    const auto shellExecute = LATE_BOUND("shell32.dll", ShellExecuteA);
    if (!shellExecute) {
        // From the window the link sits in, which is the active one when it is clicked.
        AppMessageBox(::GetActiveWindow(), "Die Verknüpfung kann nicht geöffnet werden.", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    EnsureComApartment();
    // The shell's answer does not matter: the link counts as visited either way.
    shellExecute(nullptr, "open", target, nullptr, nullptr, SW_SHOWMINIMIZED);
}

std::atomic<CMyHyperLink::OpenFunction> openFunction{&OpenWithShell};

} // namespace

CMyHyperLink::OpenFunction CMyHyperLink::SetOpenFunction(OpenFunction function)
{
    return openFunction.exchange(function ? function : &OpenWithShell);
}

CMyHyperLink::~CMyHyperLink()
{
    // A window that outlives the control gets its own font back before ours is deleted.
    if (hwnd && linkFont)
        Default(Message{WM_SETFONT, reinterpret_cast<WPARAM>(originalFont), FALSE});
    UnsubclassWindow();
}

void CMyHyperLink::PreSubclassWindow()
{
    ::SetWindowLongPtrA(hwnd, GWL_STYLE, ::GetWindowLongPtrA(hwnd, GWL_STYLE) | SS_NOTIFY);

    TakeFont(reinterpret_cast<HFONT>(::SendMessageA(hwnd, WM_GETFONT, 0, 0)), TRUE);
    LoadHandCursor();
}

void CMyHyperLink::TakeFont(HFONT font, BOOL redraw)
{
    originalFont = font;
    const HGDIOBJ source = font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT);
    if (::GetObjectA(source, sizeof givenFont, &givenFont) != sizeof givenFont)
        return;
    givenDpi = WindowDpi(hwnd);
    MakeLinkFont(givenDpi, redraw);
}

void CMyHyperLink::MakeLinkFont(UINT dpi, BOOL redraw)
{
    LOGFONTA logFont = givenFont;
    logFont.lfUnderline = TRUE;
    logFont.lfHeight = ::MulDiv(givenFont.lfHeight, static_cast<int>(dpi), static_cast<int>(givenDpi));
    UniqueFont made(::CreateFontIndirectA(&logFont));
    if (!made)
        return;
    // The font shown so far is deleted once the window has let go of it.
    const UniqueFont previous = std::exchange(linkFont, std::move(made));
    linkFontDpi = dpi;
    ::SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont.get()), redraw);
}

bool CMyHyperLink::OnSetFont(Message &m)
{
    // A font from outside, such as the dialog's own made anew for another screen's scaling: the
    // link shows it underlined.
    if (reinterpret_cast<HFONT>(m.wParam) == linkFont.get())
        return false;
    TakeFont(reinterpret_cast<HFONT>(m.wParam), LOWORD(m.lParam));
    m.result = 0;
    return true;
}

bool CMyHyperLink::OnPaint(Message &)
{
    // The window moved to a screen of another scaling and nobody gave it a new font.
    if (const UINT dpi = WindowDpi(hwnd); linkFont && dpi != linkFontDpi)
        MakeLinkFont(dpi, FALSE);
    return false;
}

void CMyHyperLink::LoadHandCursor()
{
    // The help program's hand first, as it looks like the rest of the system's help links; not
    // every system has it (Wine's has no cursor 106), so the system's own hand stands in.
    char path[MAX_PATH + 16] = "";
    const UINT length = ::GetWindowsDirectoryA(path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        std::string file = std::string(path, length) + "\\Winhlp32.exe";
        const UniqueModule module(::LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        // A copy of our own, as the module's resources go with the module.
        if (HCURSOR cursor = module ? ::LoadCursorA(module.get(), MAKEINTRESOURCEA(kHelpHandCursor)) : nullptr) {
            ownCursor.reset(reinterpret_cast<HCURSOR>(::CopyIcon(reinterpret_cast<HICON>(cursor))));
            handCursor = ownCursor.get();
        }
    }
    if (!handCursor)
        handCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)); // IDC_HAND
    if (!handCursor)
        handCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
}

void CMyHyperLink::SetBackground(HBRUSH brush, COLORREF colour)
{
    background = brush;
    backgroundColour = colour;
}

bool CMyHyperLink::OnReflect(Message &m)
{
    if (m.id == WM_COMMAND && m.NotifyCode() == STN_CLICKED) {
        openFunction.load()(url.c_str());
        visited = true;
        ::InvalidateRect(hwnd, nullptr, TRUE);
        return true;
    }
    if (m.id == WM_CTLCOLORSTATIC) {
        const HDC dc = reinterpret_cast<HDC>(m.wParam);
        ::SetTextColor(dc, visited ? kVisitedColour : hover ? kHoverColour : kNormalColour);
        ::SetBkMode(dc, TRANSPARENT);
        if (background)
            ::SetBkColor(dc, backgroundColour);
        m.result = reinterpret_cast<LRESULT>(background ? background : ::GetStockObject(NULL_BRUSH));
        return true;
    }
    return false;
}

bool CMyHyperLink::ProcessMessage(Message &m)
{
    static const MapEntry<CMyHyperLink> messageMap[] = {
        ON_MESSAGE(WM_MOUSEMOVE, &CMyHyperLink::OnMouseMove),
        ON_MESSAGE(WM_SETCURSOR, &CMyHyperLink::OnSetCursor),
        ON_MESSAGE(WM_CAPTURECHANGED, &CMyHyperLink::OnCaptureChanged),
        ON_MESSAGE(WM_SETFONT, &CMyHyperLink::OnSetFont),
        ON_MESSAGE(WM_PAINT, &CMyHyperLink::OnPaint),
    };
    return DispatchMessageMap(this, messageMap, m) || Control::ProcessMessage(m);
}

void CMyHyperLink::RedrawNow() const
{
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

bool CMyHyperLink::OnMouseMove(Message &m)
{
    m.result = Default(m);
    // Holding the capture is what lets the link see the pointer leave.
    if (!hover) {
        hover = true;
        RedrawNow();
        ::SetCapture(hwnd);
        return true;
    }
    RECT client;
    ::GetClientRect(hwnd, &client);
    const POINT at{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
    if (!::PtInRect(&client, at)) {
        hover = false;
        ::ReleaseCapture();
        RedrawNow();
    }
    return true;
}

bool CMyHyperLink::OnCaptureChanged(Message &m)
{
    // Another window took the mouse (a menu, a task switch): the pointer may be anywhere now.
    if (hover && reinterpret_cast<HWND>(m.lParam) != hwnd) {
        hover = false;
        RedrawNow();
    }
    return false;
}

bool CMyHyperLink::OnSetCursor(Message &m)
{
    ::SetCursor(handCursor);
    m.result = TRUE;
    return true;
}
