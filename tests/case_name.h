#ifndef CASE_NAME_H
#define CASE_NAME_H

#include <string>

#include <gtest/gtest.h>

// Names each instance of a table-driven test after its row's `name`.
struct CaseName {
    template <class Row>
    std::string operator()(const ::testing::TestParamInfo<Row>& row) const
    {
        return row.param.name;
    }
};

#endif
