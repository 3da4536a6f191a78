#include "app/fdtd.h"
int main() { return 0; }
