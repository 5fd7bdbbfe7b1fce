#include "tests/driver/ui_driver.h"
#include <gtest/gtest.h>
TEST(Driver, Builds)
{
    EXPECT_FALSE(uidriver::ProgramFolder().empty());
}
