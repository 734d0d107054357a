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
// each group is written when it changes.
class SettingsStore {
public:
    explicit SettingsStore(ValueStore &values);

    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    void loadAll();

    void loadTime();
    void saveTime();
    void loadOptions();
    void saveOptions();
    void loadUser();
    void saveUser();
    void loadTeas();
    void saveTeas();
    void loadTeatime();
    void saveTeatime();
    void loadNetsend();
    void saveNetsend();

    Settings settings;

private:
    void loadNumbers(const char *group, std::span<const NumberValue> table);
    void saveNumbers(const char *group, std::span<const NumberValue> table);
    void writeText(const char *group, const char *name, std::string &text);

    ValueStore &values;
};
