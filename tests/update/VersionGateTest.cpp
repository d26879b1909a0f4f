#include "platform/Failure.h"
#include "update/VersionGate.h"

#include <gtest/gtest.h>

#include <cctype>

using namespace flagwright;

namespace {
struct GateCase {
    const char* version;
    int outcome; // 1 accepted, 0 refused, otherwise the failure code
};

std::ostream& operator<<(std::ostream& os, const GateCase& c)
{
    return os << '"' << c.version << "\" -> " << c.outcome;
}

int Outcome(const std::string& version)
{
    try {
        return IsUpdatableVersion(version) ? 1 : 0;
    } catch (const Failure& failure) {
        return failure.Number();
    }
}

class VersionGate : public ::testing::TestWithParam<GateCase> {};

// Test names from the version text: letters and digits kept, everything else as '_'.
std::string CaseName(const ::testing::TestParamInfo<GateCase>& info)
{
    std::string name = 'v' + std::to_string(info.index) + '_';
    for (const char* c = info.param.version; *c; ++c)
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
}
} // namespace

TEST_P(VersionGate, DecidesAsTheGateMust)
{
    EXPECT_EQ(Outcome(GetParam().version), GetParam().outcome);
}

INSTANTIATE_TEST_SUITE_P(Accepted, VersionGate,
                         ::testing::Values(GateCase{"14.01.03", 1}, GateCase{"14.1.3", 1},
                                           GateCase{"014.001.003", 1}, GateCase{"14.01.03.9", 1},
                                           GateCase{"14.01.03.x'y", 1},
                                           GateCase{"14.01.03.99999", 1},
                                           GateCase{" 14 .+01.03", 1}),
                         CaseName);

INSTANTIATE_TEST_SUITE_P(Refused, VersionGate,
                         ::testing::Values(GateCase{"14.01.04", 0}, GateCase{"14.01.02", 0},
                                           GateCase{"13.01.03", 0}, GateCase{"14.01", 0},
                                           GateCase{"14.1", 0}, GateCase{"-14.01.03", 0},
                                           GateCase{"32767.-32768.0", 0}),
                         CaseName);

INSTANTIATE_TEST_SUITE_P(Failing, VersionGate,
                         ::testing::Values(
                             // fewer than two parts: the missing part cannot be read
                             GateCase{"", 9}, GateCase{"14", 9},
                             // the first part is converted before the second is looked for
                             GateCase{"abc", 13},
                             // not a number
                             GateCase{"14.01.x", 13}, GateCase{"14..03", 13},
                             GateCase{"14.01.", 13}, GateCase{"14.0 1.03", 13},
                             GateCase{"14.1e0.3", 13}, GateCase{"14.01.3x", 13},
                             GateCase{"14.+.3", 13},
                             // outside the 16-bit signed range
                             GateCase{"14.01.70000", 6}, GateCase{"14.01.32768", 6},
                             GateCase{"-32769.1.3", 6}, GateCase{"14.01.99999999999999999999", 6},
                             // every part is converted before any comparison
                             GateCase{"15.x.3", 13}, GateCase{"13.1.70000", 6},
                             GateCase{"99999.x.3", 6},
                             // a part that is not a number wins over an overflow in the same part
                             GateCase{"14.01.99999x", 13}),
                         CaseName);
