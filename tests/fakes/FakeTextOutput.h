#pragma once
// What the command-line mode writes, collected.
#include <string>

#include "platform/text/TextOutput.h"

namespace orvanta {

class CollectedOutput : public TextOutput {
public:
    void write(const std::string& text) override { text_ += text; }
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

} // namespace orvanta
