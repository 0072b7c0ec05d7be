// Compiled as part of one layer, including a header the layer must not see:
// the include must fail. See CMakeLists.txt beside it.
#include ZUVI_FORBIDDEN_HEADER
