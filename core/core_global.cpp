// The program's one central object. Game objects built as globals use it in their
// constructors, so it is constructed ahead of every global without a priority (and destroyed
// after them), whatever the order in which the program's files are linked.
#include "core/core.h"

KV_CORE Core __attribute__((init_priority(1000)));
