#pragma once

#include <string>
#include <string_view>
#include <vector>

// A data line of a scenario file (load-increase direction, starting point):
// a bus number, a bus name, then numbers, all separated by white space. A
// name that begins with an apostrophe or a double quote runs to the same
// quote again and may hold blanks; the numbers follow the closing quote.
// Numbers are read in the C locale.
struct ScenarioLine {
    int number = 0;
    std::string name;             // without its quotes
    std::vector<double> numbers;  // up to the first item that is not a whole number
};

// False for a comment (a 'C' in column 1) and for a line that does not begin
// with a whole integer followed by a name.
bool ParseScenarioLine(std::string_view text, ScenarioLine& line);
