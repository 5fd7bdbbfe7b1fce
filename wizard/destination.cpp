// The Directory page: the default destination from the registry and the Browse dialog.
// The edit box is the one place the destination lives; the worker reads it when it starts.
#include "wizard/setup.h"

#include "windows/native_calls.h"
#include "windows/setup_config.h"

#include <windows.h>

using namespace lumora;
using namespace lumora::GUI;

namespace {

const char programFilesKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char programFilesValue[] = "ProgramFilesDir";
// Where Windows puts programs when the registry cannot say.
const char fallbackProgramFiles[] = "C:\\Program Files";

} // namespace

String tSetup::ReadProgramFilesDirectory()
{
    String directory = QueryRegistryString(HKEY_LOCAL_MACHINE, programFilesKey, programFilesValue);
    // An empty value would turn the destination into a folder at the root of the current drive.
    if (directory.Length() == 0) directory = fallbackProgramFiles;
    return directory;
}

String tSetup::DefaultDestination()
{
    // Joined as written: a DirName that starts with a backslash gives two in a row.
    return ReadProgramFilesDirectory() + String("\\") + ReadSetupValue(SetupValue::destinationFolder);
}

void tSetup::BuildDestinationWidgets()
{
    directoryGroup =
        new GroupBox(ReadSetupValue(SetupValue::textDestinationDirectory), Point(139, 228), Size(328, 43));

    directoryEdit =
        new EditBox(run ? run->destination : DefaultDestination(), Point(149, 241), Size(220, 0), 0);

    browseButton = new Button(ReadSetupValue(SetupValue::textBrowse), nullptr, Point(377, 240), Size(0, 0));
    browseButton->onClick.Connect(new Instance<tSetup>(this), new Method<tSetup, void>(&tSetup::OnBrowse));
}

void tSetup::OnBrowse()
{
    Dialogs::DirSelection *dialog = new Dialogs::DirSelection();
    dialog->SetParentWindow(mainWindow);
    dialog->SetCaption(ReadSetupValue(SetupValue::textBrowseText));
    // A cancelled dialog leaves the destination as it was, typed text included.
    if (dialog->ShowDialog() == 1) directoryEdit->SetText(dialog->GetDirName());
    delete dialog;
}
