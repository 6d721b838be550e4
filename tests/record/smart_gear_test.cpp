#include <kest/gear/smart_gear.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(smart_gear, DestructorCallsEachCallbackInOrder) {
    std::string calls;
    {
        kest::gear::SmartGear gear;
        EXPECT_TRUE(
            gear.addDestructorCallback([](void* c) { *static_cast<std::string*>(c) += "1"; }, &calls));
        EXPECT_FALSE(gear.addDestructorCallback(nullptr, &calls));
        EXPECT_TRUE(
            gear.addDestructorCallback([](void* c) { *static_cast<std::string*>(c) += "2"; }, &calls));
        EXPECT_EQ(calls, "");
    }
    EXPECT_EQ(calls, "12");
}

} // namespace
