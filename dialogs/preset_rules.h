// The editing rules of the tea preset list, free of any window: which row is being edited, what
// applying, discarding and resetting do to the rows, how typed minutes and seconds are held to
// 0..59, and whether cancelling must ask first. The dialog only mirrors these rows in its list.
#pragma once

#include "settings/settings.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace presets {

using Rows = std::array<TeaPreset, kPresetCount>;

// The highest minute or second a preset may hold.
inline constexpr std::int32_t kMaxTimeField = 59;

// "0" in front until the text is at least two characters long: "" gives "00", "7" gives "07".
std::string PadTwoDigits(std::string text);

// The text a minutes or seconds field must show after the user typed into it, or nothing when
// the typed text may stay: digits only, at most 59.
std::optional<std::string> CorrectTypedTime(std::string_view typed);

// The longest name the tea menu shows; a longer one ends in "..." there, so that the menu stays
// narrower than the screen and its times stay visible.
inline constexpr std::size_t kMenuNameLength = 48;

// A preset's item in the tea menu: the name, a tab (the menu's accelerator column) and the time.
// Each "&" of the name is doubled, so the menu shows it instead of taking it for an access key.
std::string MenuText(const TeaPreset &preset);

// What "&Ändern" did: nothing (no row selected and none being edited), took the selected row
// into the edits, or wrote the edits back into the row being edited.
enum class ChangeStep { None, Took, Applied };

class PresetEditor {
public:
    explicit PresetEditor(const Rows &teas) : rows(teas) {}

    const Rows &AllRows() const { return rows; }
    const TeaPreset &Row(std::size_t index) const { return rows[index]; }
    // The row whose texts were taken into the edits, or -1 while browsing.
    int EditIndex() const { return editIndex; }
    // A row was changed or reset since the dialog opened.
    bool IsModified() const { return modified; }

    // Starts editing the selected row (any row index outside 0..9 means none is selected);
    // pending edits of another row are dropped. False when nothing is selected.
    bool take(int selected);
    // Writes the edited texts into the row being edited: an empty name becomes the slot's
    // default name, minutes and seconds get two digits. Returns the row written, or -1 when no
    // row is being edited.
    int apply(const TeaPreset &edits);
    // "&Ändern": apply while editing, otherwise take the selected row.
    ChangeStep change(int selected, const TeaPreset &edits);
    // Stops editing; the rows stay as they are.
    void discard() { editIndex = -1; }
    // Gives the selected row its default texts and stops editing. False when nothing is selected.
    bool reset(int selected);
    // Closing without saving throws changes away, which the user must confirm.
    bool cancelNeedsQuestion() const { return modified; }
    // The rows to store, after applying a pending edit.
    const Rows &save(const TeaPreset &edits);

private:
    Rows rows;
    int editIndex = -1;
    bool modified = false;
};

} // namespace presets
