// Data exchange between dialog controls and member fields. Each helper does nothing once an
// earlier field of the same exchange has failed, so a dialog's DoDataExchange reads straight.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

class Control;
class Dialog;

class DataExchange {
public:
    DataExchange(Dialog &dialog, bool save);

    HWND Item(int id) const { return ::GetDlgItem(dialog, id); }
    // Tells the user, puts the focus on the control and stops the exchange.
    void Fail(int id, const char *text);

    HWND dialog;
    bool save;
    bool failed = false;
};

// Binds a control object to a dialog item the first time the exchange runs.
void DDX_Control(DataExchange &dx, int id, Control &control);
void DDX_Text(DataExchange &dx, int id, std::string &value);
// A text of at most maxChars characters: the field takes no more by typing or pasting, and a
// longer text put into it from outside (WM_SETTEXT ignores the limit) is cut when read.
void DDX_Text(DataExchange &dx, int id, std::string &value, std::size_t maxChars);
void DDX_Int(DataExchange &dx, int id, int &value);
void DDX_Int(DataExchange &dx, int id, std::atomic<std::int32_t> &value);
// BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
void DDX_Check(DataExchange &dx, int id, int &value);
// The index of the checked button in the radio group that starts at id; -1 for none.
void DDX_Radio(DataExchange &dx, int id, int &value);
void DDX_Radio(DataExchange &dx, int id, std::atomic<std::int32_t> &value);
void DDX_Slider(DataExchange &dx, int id, int &value);
// The local time of day of a time point (seconds since 1970, UTC) in a date-time picker; saving
// changes only the time of day and keeps the date.
void DDX_TimeOfDay(DataExchange &dx, int id, std::int32_t &timePoint);
void DDX_TimeOfDay(DataExchange &dx, int id, std::atomic<std::int32_t> &timePoint);
