#include "rizodozad/rizodozad.h"
