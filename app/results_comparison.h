#pragma once

#include <functional>
#include <string>

class CADODataBase;
class IDBReport;

// One side of a comparison: a stored case of a system, and the text that
// names it in the report (its description, Windows-1250).
struct ComparedCase {
    int systemId = 0;
    int caseId = 0;
    std::string label;
};

// Makes an empty report holding one reference; null when it cannot.
using ReportMaker = std::function<IDBReport*()>;

// The landscape report that lists two stored cases bus by bus and branch by
// branch, each value of case 1, of case 2 and their difference, with
// totals. Rows pair by position in the order the result queries answer.
// Answers the report with the caller's reference, or null with `failure`
// saying which step failed; a report made before that step is released.
IDBReport* CompareResultCases(CADODataBase& database, const ComparedCase& case1, const ComparedCase& case2,
                              const ReportMaker& makeReport, std::string& failure);
