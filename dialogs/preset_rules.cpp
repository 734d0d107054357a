#include "dialogs/preset_rules.h"

#include "app/countdown.h"


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

std::optional<std::string> CorrectTypedTime(std::string_view typed)
{
    if (countdown::LeadingNumber(typed) > kMaxTimeField)
        return std::to_string(kMaxTimeField);
    return std::nullopt;
}

bool PresetEditor::take(int selected)
{
    if (!IsRow(selected))
        return false;
    editIndex_ = selected;
    return true;
}

int PresetEditor::apply(const TeaPreset &edits)
{
    const int index = editIndex_;
    if (!IsRow(index))
        return -1;
    TeaPreset &row = rows_[static_cast<std::size_t>(index)];
    // Only an empty name is replaced: blanks are a name the user chose.
    row.name = edits.name.empty() ? defaultPresetName(static_cast<std::size_t>(index)) : edits.name;
    row.minutes = PadTwoDigits(edits.minutes);
    row.seconds = PadTwoDigits(edits.seconds);
    modified_ = true;
    editIndex_ = -1;
    return index;
}

ChangeStep PresetEditor::change(int selected, const TeaPreset &edits)
{
    if (editIndex_ >= 0)
        return apply(edits) >= 0 ? ChangeStep::Applied : ChangeStep::None;
    return take(selected) ? ChangeStep::Took : ChangeStep::None;
}

bool PresetEditor::reset(int selected)
{
    if (!IsRow(selected))
        return false;
    const auto slot = static_cast<std::size_t>(selected);
    rows_[slot] = {defaultPresetName(slot), kDefaultPresetTime, kDefaultPresetTime};
    modified_ = true;
    editIndex_ = -1;
    return true;
}

const Rows &PresetEditor::save(const TeaPreset &edits)
{
    apply(edits);
    return rows_;
}

} // namespace presets
