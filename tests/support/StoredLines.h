// Lines stored as data beside a test (a golden): the lines made now must equal the stored
// ones, one by one. When the environment variable named by `update` is 1 the lines are
// written instead and the test is skipped, for changes made on purpose.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace orv::test {

inline void expectStoredLines(const std::string& file, const std::vector<std::string>& now, const char* update)
{
    if (const char* u = std::getenv(update); u != nullptr && *u == '1') {
        std::ofstream out(file);
        for (const std::string& line : now) out << line << '\n';
        GTEST_SKIP() << "written to " << file;
    }
    std::ifstream in(file);
    ASSERT_TRUE(in.good()) << "missing " << file;
    std::vector<std::string> stored;
    for (std::string line; std::getline(in, line);) stored.push_back(line);
    ASSERT_EQ(now.size(), stored.size()) << file;
    for (size_t k = 0; k < now.size(); ++k) EXPECT_EQ(now[k], stored[k]) << file << ", line " << k + 1;
}

}  // namespace orv::test
