#include <cstdio>

#include "process_heap.h"
#include "solver_interface.h"

// The command-line driver: the arguments go unchanged to the solver's run.
// Without a case file there is nothing to run: the usage line says what to
// give.
int main(int argc, char** argv) {
    bool caseFile = false;
    for (int i = 1; i < argc; ++i) caseFile = caseFile || argv[i][0] != '-';
    if (!caseFile) {
        std::fprintf(stderr, "usage: ostrand [-<option>[value] ...] <case file> [<listing file>]\n");
        return 1;
    }
    PrepareProcessHeap();
    ISolver* solver = createPSSolver();
    if (!solver) return 1;
    int result = solver->Main(argc, argv, 0);
    solver->Release();
    return result == 1 ? 0 : 1;
}
