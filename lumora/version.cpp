// The version this build of the library reports; set by the build (LUMORA_VERSION).
#include "lumora/process.h"

lumora::String lumora::System::System::GetVersionString()
{
    return lumora::String(LUMORA_VERSION_TEXT);
}
