// Reads setup.tsi beside the program file through the platform's profile functions, which
// already give the defaults for a missing file, section or key and ignore letter case.
#include "app/setup_config.h"

#include "app/native_calls.h"
#include "lumora/application.h"

namespace {

// The zero that ends the value takes one place of the buffer.
const int valueBufferLength = setupValueLength + 1;

lumora::String ConfigurationPath()
{
    return lumora::Application::GetApplicationDirectory() + lumora::String("setup.tsi");
}

} // namespace

lumora::String ReadSetupValue(const lumora::String &section, const lumora::String &key,
                              const lumora::String &defaultValue)
{
    ProfileText value =
        ReadProfileString(section, &key, defaultValue, valueBufferLength, ConfigurationPath());
    return value.texts.empty() ? lumora::String() : value.texts.front();
}

lumora::String ReadSetupValue(SetupValue value, int number)
{
    const SetupRule &rule = RuleOf(value);
    lumora::String read = ReadSetupValue(rule.section, KeyName(rule, number), rule.defaultValue);
    return rule.kind == ValueKind::messageText ? WithLineBreaks(read) : read;
}

int ReadSetupInt(SetupValue value, int number)
{
    return ReadSetupValue(value, number).ToInt();
}

bool ReadSetupFlag(SetupValue value, int number)
{
    return ReadSetupInt(value, number) != 0;
}

lumora::String ReadSetupLines(SetupValue lines, SetupValue line)
{
    return ComposeSetupLines([](SetupValue rule, int number) { return ReadSetupValue(rule, number); }, lines,
                             line);
}

std::vector<lumora::String> ReadSetupKeys(const lumora::String &section)
{
    lumora::String path = ConfigurationPath();
    for (DWORD capacity = 4096;; capacity *= 2) {
        // A list cut short by the buffer ends two characters before its end.
        ProfileText keys = ReadProfileString(section, nullptr, "", capacity, path);
        if (keys.length + 2 < capacity || capacity >= (1u << 24)) return keys.texts;
    }
}
