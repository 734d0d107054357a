#include "dialogs/preset_rules.h"

#include "core/countdown.h"

namespace presets {

namespace {

bool IsRow(int index) { return index >= 0 && static_cast<std::size_t>(index) < kPresetCount; }

} // namespace

std::string PadTwoDigits(std::string text)
{
    if (text.size() < 2)
        text.insert(0, 2 - text.size(), '0');
    return text;
}

std::string MenuText(const TeaPreset &preset)
{
    const std::string name = preset.name.size() > kMenuNameLength
                                 ? preset.name.substr(0, kMenuNameLength - 3) + "..."
                                 : preset.name;
    // A menu takes "&" for the mark of an access key; a name shows it as the user typed it.
    std::string text;
    for (char c : name) {
        if (c == '&')
            text += '&';
        text += c;
    }
    return text + "\t(" + preset.minutes + ":" + preset.seconds + ")";
}

std::optional<std::string> CorrectTypedTime(std::string_view typed)
{
    // The field takes digits only when typed into; a paste or a text set from outside may bring
    // anything, of any length, and only its digits count.
    std::string digits;
    for (char c : typed) {
        if (c >= '0' && c <= '9')
            digits += c;
    }
    const std::int32_t number = countdown::LeadingNumber(digits);
    if (number > kMaxTimeField)
        return std::to_string(kMaxTimeField);
    // "007" set from outside: the number it means, in no more than the field's two characters.
    if (digits.size() > 2)
        return std::to_string(number);
    if (digits.size() != typed.size())
        return digits;
    return std::nullopt;
}

bool PresetEditor::take(int selected)
{
    if (!IsRow(selected))
        return false;
    editIndex = selected;
    return true;
}

int PresetEditor::apply(const TeaPreset &edits)
{
    const int index = editIndex;
    if (!IsRow(index))
        return -1;
    TeaPreset &row = rows[static_cast<std::size_t>(index)];
    // Only an empty name is replaced: blanks are a name the user chose.
    row.name = edits.name.empty() ? defaultPresetName(static_cast<std::size_t>(index)) : edits.name;
    row.minutes = PadTwoDigits(edits.minutes);
    row.seconds = PadTwoDigits(edits.seconds);
    modified = true;
    editIndex = -1;
    return index;
}

ChangeStep PresetEditor::change(int selected, const TeaPreset &edits)
{
    if (editIndex >= 0)
        return apply(edits) >= 0 ? ChangeStep::Applied : ChangeStep::None;
    return take(selected) ? ChangeStep::Took : ChangeStep::None;
}

bool PresetEditor::reset(int selected)
{
    if (!IsRow(selected))
        return false;
    const auto slot = static_cast<std::size_t>(selected);
    rows[slot] = {defaultPresetName(slot), kDefaultPresetTime, kDefaultPresetTime};
    modified = true;
    editIndex = -1;
    return true;
}

const Rows &PresetEditor::save(const TeaPreset &edits)
{
    apply(edits);
    return rows;
}

} // namespace presets
