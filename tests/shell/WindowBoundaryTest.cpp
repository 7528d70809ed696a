#include "ThrownExceptions.h"
#include "WindowTestSupport.h"
#include "ui/ErrorBox.h"

#include <gtest/gtest.h>

using namespace granwise;

TEST(WindowBoundary, EveryExceptionIsShownAndTheWindowStays)
{
    for (const test::Thrown &t : test::thrown()) {
        SCOPED_TRACE(t.name);
        test::RecordingPrompter prompter;
        EXPECT_FALSE(guarded(nullptr, t.raise));
        EXPECT_EQ(prompter.lastText(), t.text);
    }
}
