#include "app/fdtd.h"
