#pragma once

#include "platform/Prompts.h"
#include "platform/Services.h"
#include "platform/WorkingFolder.h"

namespace fenwold {

// The services of the desktop the documents and views call on. The desktop program fills it with
// Qt implementations, the command-line tool with quiet ones, the tests with ScriptedPlatform.
struct Platform {
    Prompts& prompts;
    SoundPlayer& sound;
    Clock& clock;
    StatusBar& statusBar;
    WorkingFolder& folder;
};

} // namespace fenwold
