#include "framework/local_time.h"

namespace {
// 100-nanosecond intervals between 1601-01-01 and 1970-01-01.
constexpr std::int64_t kEpochOffset = 116444736000000000LL;
constexpr std::int64_t kTicksPerSecond = 10000000LL;
} // namespace

bool BreakDownLocalTime(std::int64_t timePoint, SYSTEMTIME &local)
{
    // Checked before multiplying: a reading beyond the FILETIME range would overflow.
    if (timePoint < -kEpochOffset / kTicksPerSecond || timePoint > (INT64_MAX - kEpochOffset) / kTicksPerSecond)
        return false;
    const std::int64_t ticks = timePoint * kTicksPerSecond + kEpochOffset;
    FILETIME utcFile;
    utcFile.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFF);
    utcFile.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    SYSTEMTIME utc;
    return ::FileTimeToSystemTime(&utcFile, &utc) && ::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
}

bool ComposeLocalTime(const SYSTEMTIME &local, std::int32_t &timePoint)
{
    SYSTEMTIME utc;
    FILETIME utcFile;
    if (!::TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) || !::SystemTimeToFileTime(&utc, &utcFile))
        return false;
    const std::int64_t ticks = (static_cast<std::int64_t>(utcFile.dwHighDateTime) << 32) | utcFile.dwLowDateTime;
    const std::int64_t seconds = (ticks - kEpochOffset) / kTicksPerSecond;
    if (seconds < INT32_MIN || seconds > INT32_MAX)
        return false;
    timePoint = static_cast<std::int32_t>(seconds);
    return true;
}
