// The page runs on the browser's one thread: a team is that thread alone.
#include <omp.h>

extern "C" {

int omp_get_num_threads() { return 1; }
int omp_get_thread_num() { return 0; }
int omp_get_max_threads() { return 1; }

} // extern "C"
