#include "solver_interface.h"

// The command-line driver: the arguments go unchanged to the solver's run.
int main(int argc, char** argv) {
    ISolver* solver = createPSSolver();
    if (!solver) return 1;
    int result = solver->Main(argc, argv, 0);
    solver->Release();
    return result == 1 ? 0 : 1;
}
