#include "app/process_objects.h"

#include "settings/registry_key.h"

std::atomic<std::int32_t> hourCount{0};

SettingsStore &TheSettingsStore()
{
    static RegistryKey registry(HKEY_LOCAL_MACHINE, "Software\\Brewbell");
    static SettingsStore store(registry);
    return store;
}
