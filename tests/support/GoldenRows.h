// Data stored beside a test: tables worked out by hand, read as rows of tab-separated fields,
// and rows of numbers (a golden), each under a name of one or more words. The rows made now
// are compared number by number with the stored ones; when the environment variable named by
// `update` is 1 they are written instead and the test is skipped, for changes made on purpose.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace orv::test {

using GoldenRows = std::vector<std::pair<std::string, std::vector<double>>>;

// A file of tests/ by its path there.
inline std::string testData(const std::string& path) { return std::string(ORV_DEFAULT_SOURCE_DIR) + "/tests/" + path; }

// The rows of a table, split at tabs; blank lines and lines starting with # are left out.
inline std::vector<std::vector<std::string>> dataRows(const std::string& file)
{
    std::ifstream in(file);
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream split(line);
        rows.emplace_back();
        for (std::string field; std::getline(split, field, '\t');) rows.back().push_back(field);
    }
    EXPECT_FALSE(rows.empty()) << "no rows in " << file;  // a missing file must not pass as empty
    return rows;
}

// `close(now, stored, storedRow)` judges one number; `digits` are written per number.
template <class Close>
void expectGoldenRows(const std::string& file, const char* update, const GoldenRows& now, Close close,
                      int nameWords = 1, int digits = 17)
{
    if (const char* u = std::getenv(update); u != nullptr && *u == '1') {
        std::ofstream out(file);
        char buf[40];
        for (const auto& [name, values] : now) {
            out << name;
            for (double v : values) out << ' ' << (std::snprintf(buf, sizeof buf, "%.*g", digits, v), buf);
            out << '\n';
        }
        GTEST_SKIP() << "written to " << file;
    }
    std::ifstream in(file);
    ASSERT_TRUE(in.good()) << "missing " << file;
    std::map<std::string, std::vector<double>> stored;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream s(line);
        std::string name, word;
        for (int k = 0; k < nameWords && s >> word; ++k) name += (k > 0 ? " " : "") + word;
        std::vector<double>& v = stored[name];
        for (double x; s >> x;) v.push_back(x);
    }
    EXPECT_EQ(stored.size(), now.size()) << "rows in " << file;
    for (const auto& [name, got] : now) {
        const auto it = stored.find(name);
        if (it == stored.end()) {
            ADD_FAILURE() << "no stored row " << name;
            continue;
        }
        const std::vector<double>& want = it->second;
        EXPECT_EQ(got.size(), want.size()) << name;
        int failures = 0;
        for (size_t i = 0; i < std::min(got.size(), want.size()); ++i)
            if (!close(got[i], want[i], want) && ++failures <= 3)
                ADD_FAILURE() << name << " [" << i << "]: " << got[i] << " vs stored " << want[i];
    }
}

}  // namespace orv::test
