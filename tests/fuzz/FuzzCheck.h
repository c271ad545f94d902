// The fuzz targets' own assertion: a broken property of a reader's result ends the
// run with a report, as a sanitizer finding does.
//
//   FUZZ_CHECK(info.factor > 0.0f);
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
