#pragma once

// The library throws its messages as C strings; these check the exact text.

#include <gtest/gtest.h>

#include <string>

#define EXPECT_THROW_MSG(statement, expected)                                                                \
    do {                                                                                                     \
        std::string thrown_message_;                                                                         \
        bool thrown_ = false;                                                                                \
        try {                                                                                                \
            statement;                                                                                       \
        } catch (const char* m) {                                                                            \
            thrown_ = true;                                                                                  \
            thrown_message_ = m ? m : "(null)";                                                              \
        }                                                                                                    \
        EXPECT_TRUE(thrown_) << #statement " did not throw";                                                 \
        if (thrown_) {                                                                                       \
            EXPECT_EQ(thrown_message_, std::string(expected));                                               \
        }                                                                                                    \
    } while (false)
