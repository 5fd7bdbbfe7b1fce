// Reads setup.tsi beside the program file through the platform's profile functions, which
// already give the defaults for a missing file, section or key and ignore letter case.
#include "app/setup_config.h"

#include "lumora/application.h"
#include "lumora/process.h"

#include <windows.h>

namespace {

// The profile functions cut longer values to this many characters including the zero.
const int valueBufferLength = 256;

// A page shows about twenty lines; a count far beyond that is a damaged file, and following
// it (one file read per line) would stall the wizard before it opens.
const int mostPageLines = 100;

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
    int lineCount = ReadSetupValue(section, "Lines", "1").ToInt();
    if (lineCount > mostPageLines) lineCount = mostPageLines;
    lumora::String text;
    for (int line = 1; line <= lineCount; line++) {
        if (line > 1) text.Append("\n");
        text.Append(ReadSetupValue(section, lumora::String::FromInt(line), defaultLine));
    }
    return text;
}
