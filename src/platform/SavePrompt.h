#pragma once

#include "platform/Prompts.h"

#include <string>
#include <string_view>

namespace fenwold {

// The question every document asks before it closes with unsaved changes: Yes, No or Cancel.
inline MessageAnswer AskToSaveChanges(Prompts& prompts, std::string_view fileName) {
    const std::string question = "너 \"" + std::string(fileName) + "\" 파일을 저장 할거냐?";
    return prompts.ShowMessage(question, MessageButtons::YesNoCancel);
}

} // namespace fenwold
