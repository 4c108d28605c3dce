#pragma once

#include <string>

#include "c_locale_format.h"

// SQL that stores cases as a save would: a system of `buses` buses in a
// chain (bus n named "Bus n", branch n from bus n to n + 1), and cases of it
// whose values grow with the case number.
inline std::string StoredSystemSql(int system, const std::string& name, int buses) {
    std::string sql = FormatCLocale("INSERT INTO Systems (ID, Name) VALUES (%d, '%s');", system, name.c_str());
    for (int bus = 1; bus <= buses; ++bus)
        sql += FormatCLocale("INSERT INTO Buses (SystemID, ID, Name) VALUES (%d, %d, 'Bus %d');", system, bus, bus);
    return sql;
}

inline std::string StoredCaseSql(int system, int solution, const std::string& description, int buses,
                                 int branches) {
    std::string sql = FormatCLocale("INSERT INTO Solutions (SystemID, ID, Description) VALUES (%d, %d, '%s');",
                                    system, solution, description.c_str());
    for (int bus = 1; bus <= buses; ++bus)
        sql += FormatCLocale(
            "INSERT INTO PFBuses (SystemID, Solution, ID, V, Vpu, Vbase, Angle, Pgen, Qgen, Pload, Qload, Pshunt, "
            "Qshunt, Type) VALUES (%d, %d, %d, 110, 1, 110, %d, %d, 0, 10, 5, 0, 0, 1);",
            system, solution, bus, -solution, solution);
    for (int branch = 1; branch <= branches; ++branch)
        sql += FormatCLocale(
            "INSERT INTO PFBranches (SystemID, Solution, ID, Type, Ifrom, Ito, Pfrom, Qfrom, Pto, Qto, BusFromID, "
            "BusToID) VALUES (%d, %d, %d, 0, 100, 100, %d, 1, -10, -1, %d, %d);",
            system, solution, branch, 10 + solution, branch, branch + 1);
    return sql;
}
