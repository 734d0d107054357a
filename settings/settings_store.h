#pragma once

#include "settings/settings.h"
#include "settings/value_store.h"

#include <span>

// One numeric value of a group: a loaded value outside lowest..highest gives the default, except
// for a switch whose every value but 0 means "on", which loads as 1.
struct NumberValue {
    const char *name;
    std::atomic<std::int32_t> Settings::*field;
    std::int32_t defaultValue;
    std::int32_t lowest;
    std::int32_t highest;
    bool anyButZeroIsOne = false;
};

// Loads and saves the settings record group by group. There is deliberately no "save all":
// each group is written when it changes. A save says whether every value of its group was
// stored; the record keeps what it was given either way.
class SettingsStore {
public:
    explicit SettingsStore(ValueStore &values);

    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    void loadAll();

    void loadTime();
    bool saveTime();
    void loadOptions();
    bool saveOptions();
    void loadUser();
    bool saveUser();
    void loadTeas();
    bool saveTeas();
    void loadTeatime();
    bool saveTeatime();
    void loadNetsend();
    bool saveNetsend();

    // What a dialog edited, put in force and stored in one step. When the registry refuses the
    // group, the record is given back what it held before and the result is false: the running
    // program then goes on exactly as before, and the dialog can try again or be cancelled.
    // Values the registry took before its refusal are written back as they were, so that the
    // next start sees the group this run goes on with.
    [[nodiscard]] bool applyUser(const UserTexts &texts);
    [[nodiscard]] bool applyTeatime(const TeatimeValues &chosen);
    [[nodiscard]] bool applyTeas(const std::array<TeaPreset, kPresetCount> &teas);

    Settings settings;

private:
    void loadNumbers(const char *group, std::span<const NumberValue> table);
    bool saveNumbers(const char *group, std::span<const NumberValue> table);
    bool writeText(const char *group, const char *name, std::string &text);
    UserTexts userTexts() const;
    void putUser(const UserTexts &texts);
    TeatimeValues teatime() const;
    void putTeatime(const TeatimeValues &chosen);

    ValueStore &values;
};
