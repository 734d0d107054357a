// Fuzz target: the settings store against a registry filled from the input with anything an
// outside edit can leave there (any group and value name in any case, any type, size and bytes,
// a sub-key where a value belongs, missing groups, no write access). It loads every group,
// lets a user put any text into the record, saves every group and loads again, and aborts on
// any result the schema does not allow, not only on a crash.

#include "settings/settings_store.h"
#include "tests/support/memory_value_store.h"
#include "tests/support/settings_schema.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace {

#define FUZZ_CHECK(condition, what)                                                                                    \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            fail(what, #condition);                                                                                    \
    } while (false)

[[noreturn]] void fail(const std::string &what, const char *condition)
{
    std::fprintf(stderr, "settings finding: %s: %s\n", what.c_str(), condition);
    std::abort();
}

using settings_schema::Value;

std::vector<Value> numberRules()
{
    std::vector<Value> rules;
    for (const Value &value : settings_schema::Values())
        if (value.IsNumber())
            rules.push_back(value);
    return rules;
}
std::vector<Value> textRulesOf()
{
    std::vector<Value> rules;
    for (const Value &value : settings_schema::Values())
        if (!value.IsNumber())
            rules.push_back(value);
    return rules;
}
const std::vector<Value> kNumbers = numberRules();
const std::vector<Value> &textRules()
{
    static const std::vector<Value> rules = textRulesOf();
    return rules;
}

std::string where(const std::string &group, const std::string &name) { return group + "\\" + name; }

// What a load must give, from the documented read rules: a number is a stored value of
// exactly four bytes within its range; a text is at most 255 characters up to a NUL.
std::int32_t expectedNumber(const MemoryValueStore &store, const Value &rule)
{
    const RawValue *value = store.find(rule.group, rule.name);
    if (value == nullptr || value->bytes.size() != 4)
        return rule.defaultNumber;
    const auto &b = value->bytes;
    const auto stored =
        static_cast<std::int32_t>(b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24);
    if (rule.anyButZeroIsOne)
        return stored != 0 ? 1 : 0;
    return stored >= rule.lowest && stored <= rule.highest ? stored : rule.defaultNumber;
}

std::string expectedText(const MemoryValueStore &store, const Value &rule)
{
    const RawValue *value = store.find(rule.group, rule.name);
    if (value == nullptr || value->bytes.size() > 256)
        return rule.defaultText;
    std::string text;
    for (std::uint8_t byte : value->bytes) {
        if (byte == 0)
            return text;
        text.push_back(static_cast<char>(byte));
    }
    return text.size() <= 255 ? text : rule.defaultText;
}

struct Snapshot {
    std::vector<std::int32_t> numbers;
    std::vector<std::string> texts;
    bool operator==(const Snapshot &) const = default;
};

Snapshot snapshot(Settings &settings)
{
    Snapshot shot;
    for (const Value &rule : kNumbers)
        shot.numbers.push_back(settings.*rule.number);
    for (const Value &rule : textRules())
        shot.texts.push_back(rule.text(settings, rule.slot));
    return shot;
}

bool isSchemaValue(const std::string &group, const std::string &name)
{
    const MemoryValueStore::NoCase less;
    const auto same = [&](const std::string &a, const std::string &b) { return !less(a, b) && !less(b, a); };
    for (const Value &rule : kNumbers)
        if (same(group, rule.group) && same(name, rule.name))
            return true;
    for (const Value &rule : textRules())
        if (same(group, rule.group) && same(name, rule.name))
            return true;
    return false;
}

bool sameValue(const RawValue &a, const RawValue &b) { return a.type == b.type && a.bytes == b.bytes; }

// ---- Building the registry from the input ----

const auto &kGroupNames = settings_schema::kGroups;

std::string randomCase(FuzzedDataProvider &input, std::string text)
{
    const auto flips = input.ConsumeIntegral<std::uint32_t>();
    for (std::size_t i = 0; i < text.size() && i < 32; ++i) {
        const char lower = static_cast<char>(text[i] | 0x20);
        if ((flips >> i & 1u) && lower >= 'a' && lower <= 'z')
            text[i] = static_cast<char>(text[i] ^ 0x20);
    }
    return text;
}

std::string pickGroup(FuzzedDataProvider &input)
{
    const auto index = input.ConsumeIntegralInRange<std::size_t>(0, std::size(kGroupNames));
    if (index == std::size(kGroupNames))
        return input.ConsumeRandomLengthString(24);
    return input.ConsumeBool() ? randomCase(input, kGroupNames[index]) : kGroupNames[index];
}

std::string pickName(FuzzedDataProvider &input)
{
    const std::size_t count = std::size(kNumbers) + textRules().size();
    const auto index = input.ConsumeIntegralInRange<std::size_t>(0, count);
    if (index == count)
        return input.ConsumeRandomLengthString(24);
    const std::string name =
        index < std::size(kNumbers) ? std::string(kNumbers[index].name) : textRules()[index - std::size(kNumbers)].name;
    return input.ConsumeBool() ? randomCase(input, name) : name;
}

std::vector<std::uint8_t> pickBytes(FuzzedDataProvider &input)
{
    switch (input.ConsumeIntegralInRange(0, 4)) {
    case 0: { // a number, often one at a range's edge
        const std::uint32_t edges[] = {0, 1, 2, 5, 6, 7, 59, 60, 127, 128, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
        const std::uint32_t value =
            input.ConsumeBool() ? input.PickValueInArray(edges) : input.ConsumeIntegral<std::uint32_t>();
        const auto bytes = value_codec::dwordBytes(value);
        return {bytes.begin(), bytes.end()};
    }
    case 1: { // a text with its NUL
        const std::string text = input.ConsumeRandomLengthString(300);
        std::vector<std::uint8_t> bytes(text.begin(), text.end());
        bytes.push_back(0);
        return bytes;
    }
    case 2: // a text of a length near the buffer's, with or without its NUL
    {
        const auto length = input.ConsumeIntegralInRange<std::size_t>(250, 260);
        std::vector<std::uint8_t> bytes(length, static_cast<std::uint8_t>(input.ConsumeIntegralInRange(1, 255)));
        if (input.ConsumeBool())
            bytes.back() = 0;
        return bytes;
    }
    case 3: // a large binary value
        return std::vector<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(0, 10000),
                                         input.ConsumeIntegral<std::uint8_t>());
    default: // any bytes
        return input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(0, 300));
    }
}

void fillRegistry(FuzzedDataProvider &input, MemoryValueStore &store)
{
    const auto entries = input.ConsumeIntegralInRange(0, 64);
    for (int entry = 0; entry < entries && input.remaining_bytes() > 0; ++entry) {
        const std::string group = pickGroup(input);
        const std::string name = pickName(input);
        if (input.ConsumeIntegralInRange(0, 7) == 0) {
            store.groups[group].subKeys.insert(name);
            continue;
        }
        const std::uint32_t types[] = {0, 1, 2, 3, 4, 5, 7, 11, 0xFFFFFFFF};
        const std::uint32_t type = input.PickValueInArray(types);
        store.put(group, name, type, pickBytes(input));
    }
}

// What a user can type into the dialogs' text fields: any length, any byte.
void editTexts(FuzzedDataProvider &input, Settings &settings)
{
    const auto edits = input.ConsumeIntegralInRange(0, 8);
    for (int edit = 0; edit < edits && input.remaining_bytes() > 0; ++edit) {
        const Value &rule = textRules()[input.ConsumeIntegralInRange<std::size_t>(0, textRules().size() - 1)];
        std::string &text = rule.text(settings, rule.slot);
        if (input.ConsumeBool())
            text = std::string(input.ConsumeIntegralInRange<std::size_t>(250, 1000),
                               static_cast<char>(input.ConsumeIntegralInRange(0, 255)));
        else
            text = input.ConsumeRandomLengthString(300);
    }
}

// ---- The checks ----

void checkLoaded(const MemoryValueStore &store, Settings &settings)
{
    for (const Value &rule : kNumbers) {
        const std::int32_t loaded = settings.*rule.number;
        FUZZ_CHECK(loaded >= rule.lowest && loaded <= rule.highest, "out of range: " + where(rule.group, rule.name));
        FUZZ_CHECK(loaded == expectedNumber(store, rule), "wrong number: " + where(rule.group, rule.name));
    }
    for (const Value &rule : textRules()) {
        const std::string &loaded = rule.text(settings, rule.slot);
        FUZZ_CHECK(loaded.size() <= 255 && loaded.find('\0') == std::string::npos,
                   "unbounded text: " + where(rule.group, rule.name));
        FUZZ_CHECK(loaded == expectedText(store, rule), "wrong text: " + where(rule.group, rule.name));
    }
}

// Every schema value written in its own format, and nothing but schema values touched.
void checkSaved(const MemoryValueStore &before, const MemoryValueStore &after, Settings &settings)
{
    for (const Value &rule : kNumbers) {
        const RawValue *value = after.find(rule.group, rule.name);
        FUZZ_CHECK(value != nullptr && value->type == kRegDword && value->bytes.size() == 4,
                   "number not written as DWORD: " + where(rule.group, rule.name));
    }
    for (const Value &rule : textRules()) {
        const RawValue *value = after.find(rule.group, rule.name);
        const std::string &text = rule.text(settings, rule.slot);
        FUZZ_CHECK(value != nullptr && value->type == kRegSz,
                   "text not written as REG_SZ: " + where(rule.group, rule.name));
        FUZZ_CHECK(value->bytes.size() == text.size() + 1 && value->bytes.size() <= 256 && value->bytes.back() == 0,
                   "text written unreadable: " + where(rule.group, rule.name));
    }
    for (const auto &[group, keys] : after.groups) {
        for (const auto &[name, value] : keys.values) {
            if (isSchemaValue(group, name))
                continue;
            const RawValue *old = before.find(group, name);
            FUZZ_CHECK(old != nullptr && sameValue(*old, value), "foreign value written: " + where(group, name));
        }
    }
}

bool sameRegistry(const MemoryValueStore &a, const MemoryValueStore &b)
{
    if (a.groups.size() != b.groups.size())
        return false;
    for (const auto &[group, keys] : a.groups) {
        const auto other = b.groups.find(group);
        if (other == b.groups.end() || keys.values.size() != other->second.values.size() ||
            keys.subKeys != other->second.subKeys)
            return false;
        for (const auto &[name, value] : keys.values) {
            const RawValue *found = b.find(group, name);
            if (found == nullptr || !sameValue(*found, value))
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    MemoryValueStore registry;
    registry.readOnly = input.ConsumeBool();
    fillRegistry(input, registry);
    const MemoryValueStore before = registry;

    SettingsStore store(registry);
    store.loadAll();
    FUZZ_CHECK(sameRegistry(before, registry), "a load wrote to the registry");
    checkLoaded(registry, store.settings);
    const Snapshot loaded = snapshot(store.settings);

    editTexts(input, store.settings);
    const bool saves[] = {store.saveTime(), store.saveOptions(), store.saveUser(),
                          store.saveTeas(), store.saveTeatime(), store.saveNetsend()};
    for (const bool saved : saves)
        FUZZ_CHECK(saved != registry.readOnly, "a save misreported whether it was stored");

    SettingsStore reloaded(registry);
    reloaded.loadAll();
    if (registry.readOnly) {
        FUZZ_CHECK(sameRegistry(before, registry), "a save wrote without write access");
        FUZZ_CHECK(snapshot(reloaded.settings) == loaded, "reload differs from the first load");
    } else {
        checkSaved(before, registry, store.settings);
        FUZZ_CHECK(snapshot(reloaded.settings) == snapshot(store.settings), "saved settings load back changed");
    }
    return 0;
}
