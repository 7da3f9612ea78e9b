// Names a table-driven case after its description, for the test report.
#pragma once

#include <gtest/gtest.h>

#include <ctype.h>

#include <string>
#include <tuple>

struct CaseName {
    static std::string Clean(std::string name)
    {
        for (char &ch : name)
            if (!isalnum((unsigned char)ch))
                ch = '_';
        return name;
    }

    template <class Case>
    std::string operator()(const testing::TestParamInfo<Case> &info) const
    {
        return Clean(info.param.name);
    }

    template <class A, class B>
    std::string operator()(const testing::TestParamInfo<std::tuple<A, B>> &info) const
    {
        return Clean(std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name);
    }
};

// Prints a case by its description in test reports, instead of its raw bytes.
#define PRINT_CASE_NAME(Case) \
    inline void PrintTo(const Case &c, std::ostream *os) \
    { \
        *os << c.name; \
    }
