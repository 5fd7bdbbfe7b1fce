// The GUI tests share one initialised library, as a program does.
#include "lumora/process.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    lumora::hInstance = GetModuleHandleW(nullptr);
    if (lumora::Init() != 0) return 2;
    int result = RUN_ALL_TESTS();
    lumora::Free();
    return result;
}
