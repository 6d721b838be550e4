#pragma once

// A fresh directory for each test, under the system's temporary directory and named after the process and the
// test, so that parallel test processes never share one; removed after the test.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

namespace kest::test {

class ScratchDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("gearrecords_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    // returns the path of the new file `name` in the directory, holding `text`
    std::string write(const std::string& name, const std::string& text) const {
        const std::filesystem::path p = dir / name;
        std::ofstream(p, std::ios::binary) << text;
        return p.string();
    }
    // returns "" for a missing file
    static std::string read(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::filesystem::path dir;
};

} // namespace kest::test
