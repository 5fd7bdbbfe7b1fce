#include "launcher/command_line.h"

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

// Whether text, after its "/" or "-", is name in any letter case, up to its end or a "=".
const wchar_t *AfterName(const wchar_t *text, const char *name)
{
    if (*text != L'/' && *text != L'-') return nullptr;
    ++text;
    for (; *name != '\0'; ++name, ++text) {
        wchar_t c = *text >= L'a' && *text <= L'z' ? static_cast<wchar_t>(*text - L'a' + L'A') : *text;
        if (c != static_cast<wchar_t>(*name)) return nullptr;
    }
    return text;
}

} // namespace

const wchar_t *AfterProgramName(const wchar_t *commandLine)
{
    const wchar_t *at = commandLine;
    if (*at == L'"') {
        ++at;
        while (*at != L'\0' && *at != L'"') ++at;
        if (*at == L'"') ++at;
    }
    while (*at != L'\0' && !IsBlank(*at)) ++at;
    return at;
}

bool NextArgument(const wchar_t *&cursor, ArgumentSpan &argument)
{
    while (IsBlank(*cursor)) ++cursor;
    if (*cursor == L'\0') return false;
    argument.begin = cursor;
    for (bool quoted = false; *cursor != L'\0' && (quoted || !IsBlank(*cursor)); ++cursor)
        if (*cursor == L'"') quoted = !quoted;
    argument.end = cursor;
    return true;
}

size_t ArgumentText(const ArgumentSpan &argument, wchar_t *text, size_t capacity)
{
    size_t length = 0;
    for (const wchar_t *at = argument.begin; at < argument.end; ++at) {
        if (*at == L'"') continue;
        if (length + 1 < capacity) text[length] = *at;
        ++length;
    }
    if (capacity > 0) text[length < capacity ? length : capacity - 1] = L'\0';
    return length;
}

LauncherSwitch ReadSwitch(const wchar_t *text, const wchar_t *&value)
{
    value = nullptr;
    const wchar_t *rest = nullptr;
    if ((rest = AfterName(text, "VERYSILENT")) && *rest == L'\0') return LauncherSwitch::verySilent;
    if ((rest = AfterName(text, "SUPPRESSMSGBOXES")) && *rest == L'\0')
        return LauncherSwitch::suppressMessageBoxes;
    if ((rest = AfterName(text, "LOG"))) {
        if (*rest == L'\0') return LauncherSwitch::log;
        if (*rest == L'=') {
            value = rest + 1;
            return LauncherSwitch::logFile;
        }
    }
    return LauncherSwitch::other;
}

bool IsFullPath(const wchar_t *path)
{
    auto separator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    if (separator(path[0]) && separator(path[1])) return true;
    bool letter = (path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z');
    return letter && path[1] == L':' && separator(path[2]);
}
