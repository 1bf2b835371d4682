#include "src/Nivex.h"

int main(int argc, char** argv) { return NivexMain(argc, const_cast<const char**>(argv)); }
