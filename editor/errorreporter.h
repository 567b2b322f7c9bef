#pragma once

// World file failures shown as error boxes.

#include "worldfile.h"

class TPromptErrorReporter : public TErrorReporter {
public:
    // The Windows-1251 message goes to Prompts().Error.
    void ReportError(const std::string& message) override;
};
