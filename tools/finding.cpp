#include "tools/finding.h"

#include "tools/terminal_text.h"

#include <algorithm>

namespace {

std::string JsonString(const std::wstring &text)
{
    std::string shown = TerminalText(text), quoted = "\"";
    for (char c : shown) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

} // namespace

std::string FindingLine(const Finding &finding)
{
    std::string line = finding.severity == Severity::error ? "error: " : "warning: ";
    if (!finding.file.empty()) {
        line += TerminalText(finding.file) + ": ";
        if (!finding.entry.empty()) line += TerminalText(finding.entry) + ": ";
    } else {
        if (!finding.section.empty() || finding.key.empty())
            line += "[" + TerminalText(finding.section) + "]";
        if (!finding.key.empty()) line += (finding.section.empty() ? "" : " ") + TerminalText(finding.key);
        if (finding.line > 0) line += " (line " + std::to_string(finding.line) + ")";
        line += ": ";
    }
    return line + TerminalText(finding.message);
}

std::string FindingJson(const Finding &finding)
{
    std::string json =
        std::string("{\"severity\":\"") + (finding.severity == Severity::error ? "error" : "warning") + "\"";
    if (!finding.file.empty()) {
        json += ",\"file\":" + JsonString(finding.file);
        if (!finding.entry.empty()) json += ",\"entry\":" + JsonString(finding.entry);
    } else {
        json += ",\"section\":" + JsonString(finding.section);
        if (!finding.key.empty()) json += ",\"key\":" + JsonString(finding.key);
        if (finding.line > 0) json += ",\"line\":" + std::to_string(finding.line);
    }
    return json + ",\"message\":" + JsonString(finding.message) + "}";
}

std::string WriteJson(const std::wstring &write)
{
    return "{\"write\":" + JsonString(write) + "}";
}

std::string CountLine(const std::vector<Finding> &findings, bool json)
{
    long errors = std::count_if(findings.begin(), findings.end(),
                                [](const Finding &finding) { return finding.severity == Severity::error; });
    long warnings = static_cast<long>(findings.size()) - errors;
    if (json)
        return "{\"errors\":" + std::to_string(errors) + ",\"warnings\":" + std::to_string(warnings) + "}";
    return std::to_string(errors) + (errors == 1 ? " error, " : " errors, ") + std::to_string(warnings) +
           (warnings == 1 ? " warning" : " warnings");
}
