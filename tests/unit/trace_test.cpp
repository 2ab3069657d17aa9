// Debugger lines: the tag, the value format and the buffer bounds.
#include <gtest/gtest.h>

#include <string>

#include "engine/trace.h"
#include "os/sim/sim.h"

namespace {

std::string LastDebugLine() {
    std::string text = sim::EffectTexts().back();
    EXPECT_EQ(0u, text.find("debug \""));
    return text.substr(7, text.size() - 8);
}

TEST(Trace, ValuesInUnsignedUpperCaseHex) {
    sim::Reset();
    const struct {
        std::int32_t value;
        const char* line;
    } rows[] = {{30, "<RCMessageBox>  scan Code =  (1E)"},
                {0, "<RCMessageBox>  scan Code =  (0)"},
                {3852, "<RCMessageBox>  scan Code =  (F0C)"},
                {-1, "<RCMessageBox>  scan Code =  (FFFFFFFF)"}};
    for (const auto& row : rows) {
        TraceValue("scan Code = ", row.value);
        EXPECT_EQ(row.line, LastDebugLine());
    }
    TraceText("Send Message to SAVRIN");
    EXPECT_EQ("<RCMessageBox>  Send Message to SAVRIN", LastDebugLine());
}

TEST(Trace, OverlongTextIsCutAtTheBuffer) {
    sim::Reset();
    std::string longText(2000, 'x');
    TraceText(longText.c_str());
    EXPECT_EQ(511u, LastDebugLine().size());
    TraceValue(longText.c_str(), 1);
    EXPECT_EQ(16u + 255u, LastDebugLine().size());  // the 256-byte number buffer
    TraceValue(std::string(250, 'x').c_str(), 0x12345678);  // cut inside the number
    EXPECT_EQ("<RCMessageBox>  " + std::string(250, 'x') + " (123", LastDebugLine());
    TraceText(nullptr);
    EXPECT_EQ("<RCMessageBox>  ", LastDebugLine());
}

}  // namespace
