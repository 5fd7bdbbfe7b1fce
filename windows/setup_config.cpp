// Reads setup.tsi beside the program file through the platform's profile functions, which
// already give the defaults for a missing file, section or key and ignore letter case.
#include "windows/setup_config.h"

#include "lumora/application.h"
#include "windows/native_calls.h"

namespace {

// The zero that ends the value takes one place of the buffer.
const int valueBufferLength = setupValueLength + 1;

lumora::String ConfigurationPath()
{
    return lumora::Application::GetApplicationDirectory() + lumora::String("setup.tsi");
}

} // namespace

lumora::String ProgramSetupFile::Value(const lumora::String &section, const lumora::String &key,
                                       const lumora::String &defaultValue)
{
    ProfileText value =
        ReadProfileString(section, &key, defaultValue, valueBufferLength, ConfigurationPath());
    return value.texts.empty() ? lumora::String() : value.texts.front();
}

std::vector<lumora::String> ProgramSetupFile::Keys(const lumora::String &section)
{
    lumora::String path = ConfigurationPath();
    for (DWORD capacity = 4096;; capacity *= 2) {
        // A list cut short by the buffer ends two characters before its end.
        ProfileText keys = ReadProfileString(section, nullptr, "", capacity, path);
        if (keys.length + 2 < capacity || capacity >= (1u << 24)) return keys.texts;
    }
}

SetupFile &ProgramSetup()
{
    static ProgramSetupFile file;
    return file;
}

lumora::String ReadSetupValue(const lumora::String &section, const lumora::String &key,
                              const lumora::String &defaultValue)
{
    return ProgramSetup().Value(section, key, defaultValue);
}

lumora::String ReadSetupValue(SetupValue value, int number)
{
    return ProgramSetup().Read(value, number);
}

int ReadSetupInt(SetupValue value, int number)
{
    return ProgramSetup().ReadInt(value, number);
}

bool ReadSetupFlag(SetupValue value, int number)
{
    return ProgramSetup().ReadFlag(value, number);
}

lumora::String ReadSetupValueOrFallback(SetupValue value)
{
    lumora::String text = ReadSetupValue(value);
    SetupValue fallback;
    return text.Length() == 0 && HasFallback(value, fallback) ? ReadSetupValue(fallback) : text;
}

lumora::String ReadSetupLines(SetupValue lines, SetupValue line)
{
    return ProgramSetup().ReadLines(lines, line);
}

std::vector<lumora::String> ReadSetupKeys(const lumora::String &section)
{
    return ProgramSetup().Keys(section);
}
