#pragma once

// The report library hides its symbols; what the program uses from it is
// marked with this.
#define WENDLOW_API __attribute__((visibility("default")))
