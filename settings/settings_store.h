#pragma once

#include "settings/settings.h"
#include "settings/value_store.h"

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
    std::int32_t readNumber(const char *group, const char *name, std::int32_t defaultValue);
    void writeNumber(const char *group, const char *name, std::int32_t value);

    ValueStore &values;
};
