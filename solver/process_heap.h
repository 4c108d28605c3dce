#pragma once

// Sets up the heap of a process that runs one solution and exits.
void PrepareProcessHeap();
