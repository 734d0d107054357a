#include "dialogs/tea_list_dialog.h"

#include "framework/data_exchange.h"
#include "framework/dpi.h"
#include "framework/message_box.h"
#include "res/resource.h"

#include <commctrl.h>

#include <iterator>

namespace {

constexpr int kTimeFieldLength = 2;

struct Column {
    const char *title;
    int width; // pixels at 96 dpi
};
constexpr Column kColumns[] = {{"Teesorte", 194}, {"Minuten", 70}, {"Sekunden", 70}};

const char kCancelQuestion[] = "Alle Änderungen werden verworfen.\nTrotzdem abbrechen?";
const char kNotSaved[] = "Die Teesorten konnten nicht in der Registrierung gespeichert werden.";

} // namespace

TeaListDialog::TeaListDialog(Settings &settings, SettingsStore &store)
    : Dialog(IDD_TEALIST), settings(settings), store(store), editor(settings.teas)
{
}

bool TeaListDialog::ProcessMessage(Message &m)
{
    static const MapEntry<TeaListDialog> map[] = {
        ON_COMMAND(IDC_TEA_CHANGE, &TeaListDialog::OnChange),
        ON_COMMAND(IDC_TEA_DISCARD, &TeaListDialog::OnDiscard),
        ON_COMMAND(IDC_TEA_DELETE, &TeaListDialog::OnDelete),
        ON_COMMAND(IDC_TEA_SAVE, &TeaListDialog::OnSave),
        ON_COMMAND(IDC_TEA_CANCEL, &TeaListDialog::OnCancel),
        ON_CONTROL(EN_CHANGE, IDC_TEA_MIN, &TeaListDialog::OnTimeTyped),
        ON_CONTROL(EN_CHANGE, IDC_TEA_SEC, &TeaListDialog::OnTimeTyped),
        ON_MESSAGE(WM_NOTIFY, &TeaListDialog::OnListNotify),
    };
    return DispatchMessageMap(this, map, m) || Dialog::ProcessMessage(m);
}

void TeaListDialog::DoDataExchange(DataExchange &dx)
{
    DDX_Text(dx, IDC_TEA_NAME, name, kMaxTextLength);
    DDX_Text(dx, IDC_TEA_MIN, minutes);
    DDX_Text(dx, IDC_TEA_SEC, seconds);
}

bool TeaListDialog::OnInitDialog()
{
    editor = presets::PresetEditor(settings.teas);
    ::SendMessageA(GetItem(IDC_TEA_MIN), EM_LIMITTEXT, kTimeFieldLength, 0);
    ::SendMessageA(GetItem(IDC_TEA_SEC), EM_LIMITTEXT, kTimeFieldLength, 0);
    FillEdits({});

    HWND list = GetItem(IDC_TEA_LIST);
    ::SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT,
                   LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    InsertColumns();
    for (std::size_t i = 0; i < kPresetCount; ++i) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<char *>("");
        ::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        ShowRow(static_cast<int>(i));
    }
    return true;
}

void TeaListDialog::InsertColumns() const
{
    HWND list = GetItem(IDC_TEA_LIST);
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_CENTER;
        column.cx = ScaleForDpi(kColumns[i].width, WindowDpi(hwnd));
        column.pszText = const_cast<char *>(kColumns[i].title);
        column.iSubItem = i;
        ::SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
}

void TeaListDialog::ShowRow(int index) const
{
    const TeaPreset &row = editor.Row(static_cast<std::size_t>(index));
    const std::string *texts[] = {&row.name, &row.minutes, &row.seconds};
    for (int column = 0; column < 3; ++column) {
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = const_cast<char *>(texts[column]->c_str());
        ::SendMessageA(GetItem(IDC_TEA_LIST), LVM_SETITEMTEXTA, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(&item));
    }
}

int TeaListDialog::SelectedRow() const
{
    return static_cast<int>(
        ::SendMessageA(GetItem(IDC_TEA_LIST), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

TeaPreset TeaListDialog::ReadEdits()
{
    UpdateData(true);
    return {name, minutes, seconds};
}

void TeaListDialog::FillEdits(const TeaPreset &texts)
{
    name = texts.name;
    minutes = texts.minutes;
    seconds = texts.seconds;
    filling = true;
    UpdateData(false);
    filling = false;
}

void TeaListDialog::TakeSelectedRow()
{
    if (!editor.take(SelectedRow()))
        return;
    FillEdits(editor.Row(static_cast<std::size_t>(editor.EditIndex())));
    HWND nameEdit = GetItem(IDC_TEA_NAME);
    Send(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(nameEdit), TRUE);
    ::SendMessageA(nameEdit, EM_SETSEL, 0, -1);
}

void TeaListDialog::ClearEdits()
{
    editor.discard();
    FillEdits({});
    Send(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetItem(IDC_TEA_LIST)), TRUE);
}

void TeaListDialog::OnChange()
{
    if (editor.EditIndex() < 0) {
        TakeSelectedRow();
        return;
    }
    const int written = editor.apply(ReadEdits());
    if (written >= 0)
        ShowRow(written);
    ClearEdits();
}

// There is no OK button; should the dialog manager ever fall back to IDOK, Enter still means
// the default button.
void TeaListDialog::OnOK() { OnChange(); }

void TeaListDialog::OnDiscard() { ClearEdits(); }

void TeaListDialog::OnDelete()
{
    const int selected = SelectedRow();
    if (!editor.reset(selected))
        return;
    ShowRow(selected);
    ClearEdits();
}

void TeaListDialog::OnSave()
{
    const int editing = editor.EditIndex();
    if (store.applyTeas(editor.save(ReadEdits()))) {
        EndDialog(IDOK);
        return;
    }
    // The rows stay as they are, a pending edit now among them, for another try or a cancel.
    if (editing >= 0)
        ShowRow(editing);
    ClearEdits();
    AppMessageBox(GetSafeHwnd(), kNotSaved, MB_OK | MB_ICONEXCLAMATION);
}

void TeaListDialog::OnCancel()
{
    if (editor.cancelNeedsQuestion() &&
        AppMessageBox(GetSafeHwnd(), kCancelQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    EndDialog(IDCANCEL);
}

bool TeaListDialog::OnListNotify(Message &m)
{
    const auto *header = reinterpret_cast<const NMHDR *>(m.lParam);
    if (header->idFrom != IDC_TEA_LIST || header->code != static_cast<UINT>(NM_DBLCLK))
        return false;
    // A double-click takes the selected row even while another one is being edited.
    TakeSelectedRow();
    return true;
}

bool TeaListDialog::OnTimeTyped(Message &m)
{
    if (filling)
        return true;
    HWND field = m.Sender();
    const auto corrected = presets::CorrectTypedTime(Window(field).GetText());
    if (!corrected)
        return true;
    filling = true;
    ::SetWindowTextA(field, corrected->c_str());
    filling = false;
    ::SendMessageA(field, EM_SETSEL, 0, -1);
    ::SendMessageA(field, EM_SCROLLCARET, 0, 0);
    return true;
}
