#include "widgets/application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Headless unless a run asks for a real screen (QT_QPA_PLATFORM=xcb
    // under a virtual X server, to look at the windows).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ts::Application app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
