#include "package/setup_file.h"

lumora::String SetupFile::Read(SetupValue value, int number)
{
    const SetupRule &rule = RuleOf(value);
    lumora::String read = Value(rule.section, KeyName(rule, number), rule.defaultValue);
    return rule.kind == ValueKind::messageText ? WithLineBreaks(read) : read;
}

int SetupFile::ReadInt(SetupValue value, int number)
{
    return Read(value, number).ToInt();
}

bool SetupFile::ReadFlag(SetupValue value, int number)
{
    return ReadInt(value, number) != 0;
}

lumora::String SetupFile::ReadLines(SetupValue lines, SetupValue line)
{
    return ComposeSetupLines([this](SetupValue rule, int number) { return Read(rule, number); }, lines, line);
}
