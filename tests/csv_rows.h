// The files of tests/data: where they are, and the reference tables among
// them, plain comma-separated rows without quoting; lines starting with '#'
// are comments and the first other line is the header.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using CsvRow = std::vector<std::string>;

inline std::vector<CsvRow> ReadCsvRows(const std::string& path) {
    std::vector<CsvRow> rows;
    std::ifstream in(path);
    EXPECT_TRUE(in.good()) << "cannot read " << path;
    std::string line;
    bool header = true;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        if (header) {
            header = false;
            continue;
        }
        CsvRow row;
        std::stringstream fields(line);
        std::string field;
        while (std::getline(fields, field, ','))
            row.push_back(field);
        if (!line.empty() && line.back() == ',')
            row.emplace_back();
        rows.push_back(row);
    }
    return rows;
}

// A file in tests/data (the TOLMERI_TEST_DATA folder).
inline std::string TestDataPath(const std::string& name) {
    const char* root = std::getenv("TOLMERI_TEST_DATA");
    EXPECT_NE(root, nullptr) << "TOLMERI_TEST_DATA is not set";
    return std::string(root ? root : ".") + "/" + name;
}
