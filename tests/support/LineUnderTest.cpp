#include "support/LineUnderTest.h"

namespace {
// The codes of the system's errors as far as devices and transfers go.
constexpr int errorCodes = 2000;
} // namespace

LineUnderTest::LineUnderTest()
    : played(playedFarEnd()) {}

LineUnderTest::~LineUnderTest() = default;

FarEnd& LineUnderTest::farEnd() {
    return *played;
}

bool LineUnderTest::isSystemErrorText(const QString& text) {
    for (int code = 1; code < errorCodes; ++code) {
        if (systemWords(code) == text) {
            return true;
        }
    }
    return false;
}
