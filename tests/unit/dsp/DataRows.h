// The data files beside the dsp tests: goldens, and tables worked out by hand (never rewritten),
// rows of numbers, one case a line; lines starting with # are comments.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace orv::test {

inline std::string dataFile(const std::string& name)
{
    return std::string(ORV_DEFAULT_SOURCE_DIR) + "/tests/unit/dsp/data/" + name;
}

inline std::vector<std::vector<double>> handRows(const std::string& name, std::size_t columns)
{
    std::ifstream in(dataFile(name));
    std::vector<std::vector<double>> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream s(line);
        rows.emplace_back(std::istream_iterator<double>(s), std::istream_iterator<double>());
        EXPECT_EQ(rows.back().size(), columns) << name << ": " << line;
    }
    EXPECT_FALSE(rows.empty()) << "no rows in " << name;
    return rows;
}

}  // namespace orv::test
