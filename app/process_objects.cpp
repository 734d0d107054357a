#include "app/process_objects.h"

#include "settings/registry_key.h"

SettingsStore &TheSettingsStore()
{
    static RegistryKey registry(HKEY_LOCAL_MACHINE, "Software\\Brewbell");
    static SettingsStore store(registry);
    return store;
}

Announcement &TheFinishAnnouncement()
{
    static Announcement finish;
    return finish;
}

Announcement &TheReminderAnnouncement()
{
    static Announcement reminder;
    return reminder;
}
