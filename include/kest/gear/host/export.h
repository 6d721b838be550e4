#pragma once

// Marks the declarations that the shared library exports; everything else is hidden.
#define GEARRECORDS_API __attribute__((visibility("default")))
