#include "src/FPrimerjava.h"
#include "src/Nivex.h"

int main(int argc, char** argv)
{
    const char** const args = const_cast<const char**>(argv);
    // Two epochs compared: a run of its own over two runs of the pipeline.
    if (const NivexUkaz u = NivexArgumenti(argc, args); PrimerjavaZahtevana(u)) return PrimerjavaMain(u);
    return NivexMain(argc, args);
}
