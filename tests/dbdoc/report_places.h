// The report tests' choice of columns: options that place the columns
// given, in order, and leave the other places empty.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "dbdoc/database_report.h"

inline ReportOptions Places(std::initializer_list<int16_t> columns, int32_t kind = kReportTabular, int32_t max = 100)
{
    ReportOptions options;
    for (int16_t& entry : options.order)
        entry = -1;
    int32_t place = 0;
    for (int16_t column : columns)
        options.order[place++] = column;
    options.kind = kind;
    options.maxLength = max;
    return options;
}
