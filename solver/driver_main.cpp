#include <cstdio>
#include <cstdlib>

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
    const int result = solver->Main(argc, argv, 0);
    // The run has closed every file it opened; only the standard streams may
    // still hold output. Once they are written out the process ends without
    // taking apart the network, the matrix and the heap, which the operating
    // system frees at once.
    const bool flushed = std::fflush(nullptr) == 0;
    std::_Exit(result == 1 && flushed ? 0 : 1);
}
