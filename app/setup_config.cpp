// Reads setup.tsi beside the program file through the platform's profile functions, which
// already give the defaults for a missing file, section or key and ignore letter case.
#include "app/setup_config.h"

#include "app/setup_rules.h"
#include "lumora/application.h"
#include "lumora/process.h"

#include <windows.h>

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
    lumora::String path = ConfigurationPath();
    if (lumora::Setup::enableUnicode) {
        wchar_t value[valueBufferLength] = {0};
        GetPrivateProfileStringW(static_cast<const wchar_t *>(section), static_cast<const wchar_t *>(key),
                                 static_cast<const wchar_t *>(defaultValue), value, valueBufferLength,
                                 static_cast<const wchar_t *>(path));
        return lumora::String(value);
    }
    char value[valueBufferLength] = {0};
    GetPrivateProfileStringA(static_cast<const char *>(section), static_cast<const char *>(key),
                             static_cast<const char *>(defaultValue), value, valueBufferLength,
                             static_cast<const char *>(path));
    return lumora::String(value);
}

lumora::String ReadSetupLines(const lumora::String &section, const lumora::String &defaultLine)
{
    return ComposeSetupLines(ReadSetupValue, section, defaultLine);
}
