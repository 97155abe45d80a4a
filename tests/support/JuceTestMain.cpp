// Test entry point for executables that use JUCE: the framework's message manager (timers, async
// calls) must exist on the thread that runs the tests.
#include "XErrorReporter.h"

#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    testsupport::installXErrorReporter();
    juce::ScopedJuceInitialiser_GUI juce;
    return RUN_ALL_TESTS();
}
