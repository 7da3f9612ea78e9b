// Morvane fuzz targets - a property that must hold, checked in every build type.
#pragma once

#include <stdio.h>
#include <stdlib.h>

#define FUZZ_CHECK(cond) \
    do { \
        if (!(cond)) { \
            fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #cond); \
            abort(); \
        } \
    } while (0)
