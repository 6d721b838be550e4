#include "host/xml_path.h"

#include <gtest/gtest.h>

namespace kest::host {
namespace {

struct StepCase {
    const char* path;
    bool accepted;
    std::size_t steps;
};

class XmlPathGrammar : public ::testing::TestWithParam<StepCase> {};

TEST_P(XmlPathGrammar, AcceptsOnlyChainsOfChildSteps) {
    std::vector<PathStep> steps;
    const StepCase& c = GetParam();
    EXPECT_EQ(parseStepPath(c.path, steps), c.accepted) << c.path;
    if (c.accepted) {
        EXPECT_EQ(steps.size(), c.steps) << c.path;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, XmlPathGrammar,
    ::testing::Values(StepCase{"", true, 0}, StepCase{"geometry", true, 1}, StepCase{"ns:speed", true, 1},
                      StepCase{"geometry/type", true, 2}, StepCase{"point_09.x-y", true, 1},
                      StepCase{"measurement/settings/positioning_parameters/*", true, 4},
                      StepCase{"range[@name='x']", true, 1},
                      StepCase{"evaluation/profile[@side = 'left']/range", true, 3},
                      StepCase{"helix_angle[@side='right' and @direction='left']", true, 1},
                      StepCase{"point[@id=3]", true, 1}, StepCase{"point[@id=-2.5]", true, 1},
                      StepCase{"a[@v=\"double quoted\"]", true, 1}, StepCase{"a[@v='']", true, 1},
                      // outside the step grammar: evaluated as XPath instead
                      StepCase{"/gear/geometry", false, 0}, StepCase{"//range", false, 0},
                      StepCase{"a/../b", false, 0}, StepCase{"a[1]", false, 0},
                      StepCase{"a[@v='x' or @w='y']", false, 0}, StepCase{"a[@v='unterminated]", false, 0},
                      StepCase{"a/", false, 0}, StepCase{"a[@v=1e3]", false, 0}, StepCase{"a[@v=", false, 0},
                      StepCase{"a[@v=/b", false, 0}, StepCase{"text()", false, 0}));

TEST(XmlPath, PredicateLiteralsKeepTheirText) {
    std::vector<PathStep> steps;
    ASSERT_TRUE(parseStepPath("m[@tooth='1,3-5' and @measurement_index=07]", steps));
    ASSERT_EQ(steps[0].predicates.size(), 2u);
    EXPECT_EQ(steps[0].predicates[0].literal, "1,3-5");
    EXPECT_FALSE(steps[0].predicates[0].numeric);
    EXPECT_EQ(steps[0].predicates[1].literal, "07");
    EXPECT_TRUE(steps[0].predicates[1].numeric);
    EXPECT_EQ(steps[0].predicates[1].number, 7.0);
}

} // namespace
} // namespace kest::host
