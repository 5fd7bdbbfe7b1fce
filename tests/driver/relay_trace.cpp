// Registry values for the length of a test, and Wine's relay trace as a way to see which API
// calls a program makes without touching it.
#include "tests/driver/ui_driver.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace uidriver {

ScopedRegistryValue::ScopedRegistryValue(HKEY root, const std::wstring &subKey, const std::wstring &name,
                                         const std::wstring &value, REGSAM view)
    : root(root), subKey(subKey), name(name), view(view)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE | view, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    DWORD size = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &oldType, nullptr, &size) == ERROR_SUCCESS) {
        oldData.resize(size);
        hadValue =
            RegQueryValueExW(key, name.c_str(), nullptr, &oldType, oldData.data(), &size) == ERROR_SUCCESS;
        oldData.resize(size);
    }
    ready = RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    RegCloseKey(key);
}

ScopedRegistryValue::~ScopedRegistryValue()
{
    if (!ready) return;
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_SET_VALUE | view, &key) != ERROR_SUCCESS) return;
    if (hadValue) {
        RegSetValueExW(key, name.c_str(), 0, oldType, oldData.data(), static_cast<DWORD>(oldData.size()));
    } else {
        RegDeleteValueW(key, name.c_str());
    }
    RegCloseKey(key);
}

namespace {

std::wstring StderrLogPath()
{
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableW(L"UIDRIVER_STDERR_LOG", path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

std::optional<uint64_t> SizeOf(const std::wstring &path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

} // namespace

RelayTrace::RelayTrace(const std::wstring &functions)
    : logPath(StderrLogPath()), include(std::make_unique<ScopedRegistryValue>(
                                    HKEY_CURRENT_USER, L"Software\\Wine\\Debug", L"RelayInclude", functions))
{
    std::optional<uint64_t> size = logPath.empty() ? std::nullopt : SizeOf(logPath);
    if (!size) {
        error = L"no log of standard error: run the test program through tests/driver/run-with-stderr-log "
                L"(CTest does so for every program that links ui_driver)";
    } else if (!include->Ready()) {
        error = L"cannot set HKCU\\Software\\Wine\\Debug RelayInclude";
    } else {
        logStart = *size;
    }
}

RelayTrace::~RelayTrace() = default;

void RelayTrace::Apply(StartOptions &options) const
{
    options.environment.emplace_back(L"WINEDEBUG", L"-all,+relay");
}

std::string RelayTrace::Log() const
{
    if (!Ready()) return {};
    HANDLE file =
        CreateFileW(logPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    LARGE_INTEGER start;
    start.QuadPart = static_cast<LONGLONG>(logStart);
    std::string log;
    if (SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) {
        char buffer[65536];
        DWORD got = 0;
        while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) log.append(buffer, got);
    }
    CloseHandle(file);
    return log;
}
std::vector<std::string> RelayTrace::LinesHolding(const std::string &marker) const
{
    std::vector<std::string> lines;
    std::string log = Log();
    size_t start = 0;
    while (start < log.size()) {
        size_t end = log.find('\n', start);
        if (end == std::string::npos) end = log.size();
        std::string line = log.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find(marker) != std::string::npos) lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> RelayTrace::Calls(const std::string &function) const
{
    // Lines look like "0024:Call user32.ExitWindowsEx(00000002,00000000) ret=00401234".
    return LinesHolding("Call " + function + "(");
}

std::vector<uint32_t> RelayTrace::WindowProcResults(HWND window, const std::string &message) const
{
    // Lines look like "0024:Ret  window proc 00401000 (hwnd=00010086,msg=WM_QUERYENDSESSION,
    // wp=00000000,lp=00000000) retval=00000001"; a 64-bit trace prints 16 digits.
    const uint32_t wanted = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window));
    std::vector<uint32_t> results;
    for (const std::string &line : LinesHolding("Ret  window proc ")) {
        size_t handle = line.find("(hwnd=");
        size_t result = line.find(") retval=");
        if (handle == std::string::npos || result == std::string::npos) continue;
        if (line.find(",msg=" + message + ",", handle) == std::string::npos) continue;
        if (static_cast<uint32_t>(strtoull(line.c_str() + handle + 6, nullptr, 16)) != wanted) continue;
        results.push_back(static_cast<uint32_t>(strtoull(line.c_str() + result + 9, nullptr, 16)));
    }
    return results;
}

namespace {

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

// A 64-bit program's trace prints each argument word with up to 16 digits, and an int
// argument may arrive sign-extended: keeping the low 32 bits of every longer word lets one
// expectation serve both widths. Quoted strings are copied as they stand.
std::string LowWords(const std::string &arguments)
{
    std::string out;
    size_t i = 0;
    while (i < arguments.size()) {
        char c = arguments[i];
        if (c == '"') {
            size_t close = i + 1;
            while (close < arguments.size() && arguments[close] != '"')
                close += arguments[close] == '\\' ? 2 : 1;
            close = std::min(close + 1, arguments.size());
            out.append(arguments, i, close - i);
            i = close;
        } else if (IsHexDigit(c) && (i == 0 || !std::isalnum(static_cast<unsigned char>(arguments[i - 1])))) {
            size_t end = i;
            while (end < arguments.size() && IsHexDigit(arguments[end])) end++;
            size_t length = end - i;
            bool word = end == arguments.size() || !std::isalnum(static_cast<unsigned char>(arguments[end]));
            size_t keep = word && length > 8 && length <= 16 ? 8 : length;
            out.append(arguments, end - keep, keep);
            i = end;
        } else {
            out += c;
            i++;
        }
    }
    return out;
}

} // namespace

std::vector<std::string> RelayTrace::CallArguments(const std::string &function) const
{
    const std::string marker = "Call " + function + "(";
    std::vector<std::string> arguments;
    for (const std::string &line : Calls(function)) {
        size_t open = line.find(marker) + marker.size();
        size_t close = line.find(") ret=", open);
        if (close == std::string::npos) close = line.rfind(')');
        arguments.push_back(LowWords(close == std::string::npos || close < open
                                         ? line.substr(open)
                                         : line.substr(open, close - open)));
    }
    return arguments;
}

} // namespace uidriver
