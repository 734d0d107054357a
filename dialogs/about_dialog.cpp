#include "dialogs/about_dialog.h"

#include "framework/data_exchange.h"
#include "framework/dpi.h"
#include "pictures/picture_bitmap.h"
#include "pictures/pictures.h"
#include "res/resource.h"

const char AboutDialog::kMailTarget[] = "mailto:brewbell@example.org";
const char AboutDialog::kWebTarget[] = "https://www.example.org/brewbell/";
const char AboutDialog::kSourceTarget[] = "https://code.example.org/";

AboutDialog::AboutDialog() : Dialog(IDD_ABOUT) {}

void AboutDialog::DoDataExchange(DataExchange &dx)
{
    DDX_Control(dx, IDC_LINK_MAIL, mailLink);
    DDX_Control(dx, IDC_LINK_WEB, webLink);
    DDX_Control(dx, IDC_LINK_SOURCE, sourceLink);
}

bool AboutDialog::OnInitDialog()
{
    Dialog::OnInitDialog();
    mailLink.setUrl(kMailTarget);
    webLink.setUrl(kWebTarget);
    sourceLink.setUrl(kSourceTarget);
    dialogBrush.reset(::CreateSolidBrush(kBackground));
    // The links answer their own colour requests; they keep the grey behind their text too.
    for (CMyHyperLink *link : {&mailLink, &webLink, &sourceLink})
        link->SetBackground(dialogBrush.get(), kBackground);
    ScaleNamePicture();
    ShowIcon();
    return true;
}

void AboutDialog::ScaleNamePicture()
{
    const UINT dpi = WindowDpi(hwnd);
    if (dpi == kReferenceDpi)
        return;
    // The template's one picture control, which has no id of its own.
    HWND name = nullptr;
    for (HWND child = ::GetWindow(hwnd, GW_CHILD); child && !name; child = ::GetWindow(child, GW_HWNDNEXT))
        if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP)
            name = child;
    const pictures::Size design = pictures::designSize(IDB_ABOUT_NAME);
    UniqueBitmap scaled =
        PictureBitmap(IDB_ABOUT_NAME, ScaleForDpi(design.width, dpi), ScaleForDpi(design.height, dpi), dpi);
    if (!name || !scaled)
        return;
    // The static fits itself to the new picture; the one it loaded from the template is ours to delete.
    const auto previous = reinterpret_cast<HBITMAP>(
        ::SendMessageA(name, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(scaled.get())));
    if (previous)
        ::DeleteObject(previous);
    namePicture = std::move(scaled);
}

void AboutDialog::ShowIcon() const
{
    // The template's icon comes at the screen's size; the dialog opens on its owner's screen.
    for (HWND child = ::GetWindow(hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            if (HICON icon = LoadIconForDpi(IDI_BREWBELL, SM_CXICON, WindowDpi(hwnd)))
                ::SendMessageA(child, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

bool AboutDialog::ProcessMessage(Message &m)
{
    static const MapEntry<AboutDialog> messageMap[] = {
        ON_MESSAGE(WM_CTLCOLORDLG, &AboutDialog::OnCtlColor),
        ON_MESSAGE(WM_CTLCOLORSTATIC, &AboutDialog::OnCtlColor),
        ON_MESSAGE(WM_CTLCOLORBTN, &AboutDialog::OnCtlColor),
        ON_MESSAGE(WM_DRAWITEM, &AboutDialog::OnDrawItem),
    };
    return DispatchMessageMap(this, messageMap, m) || Dialog::ProcessMessage(m);
}

bool AboutDialog::OnCtlColor(Message &m)
{
    if (!dialogBrush)
        return false;
    ::SetBkColor(reinterpret_cast<HDC>(m.wParam), kBackground);
    m.result = reinterpret_cast<LRESULT>(dialogBrush.get());
    return true;
}

bool AboutDialog::OnDrawItem(Message &m)
{
    // The white band across the bottom, behind the button.
    const auto &item = *reinterpret_cast<const DRAWITEMSTRUCT *>(m.lParam);
    if (item.CtlID != IDC_ABOUT_BAND)
        return false;
    ::SetBkColor(item.hDC, kBand);
    ::ExtTextOutA(item.hDC, 0, 0, ETO_OPAQUE, &item.rcItem, nullptr, 0, nullptr);
    m.result = TRUE;
    return true;
}
