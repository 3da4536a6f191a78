// The FDTD application: solver and figure composition.
#pragma once
