// Nivex: the program's entry and its fixed processing pipeline.
//
// NivexMain runs one adjustment from the data file named on the command line
// (or at the prompt) and returns the exit status; fatal errors end the process
// with status 1 from inside the called modules.
#ifndef NIVEX_SRC_NIVEX_H
#define NIVEX_SRC_NIVEX_H

#include <ostream>
#include <string>

// Longest data-file name accepted (the report and export names derive from it).
inline constexpr std::size_t NivexMaxImeDatoteke = 255;

// Base name (up to the last "." anywhere in the name, or the whole name) and
// report name (base name + ".NVX") of a data-file name.
void ImenaDatotek(const std::string& dataFile, std::string& reportFile, std::string& baseName);

// Banner to the console, the command-line rule, the data-file name (argument
// or prompt), the existence check and the derived names with their echo.
void DobiPodatke(int argc, const char** argv, std::string& dataFile, std::string& reportFile,
                 std::string& baseName);
// True when a file of that name can be opened for reading (a directory cannot).
bool FileExists(const std::string& name);
void NaslovNivex(std::ostream& out);
// Closing lines with the elapsed seconds; waits for Enter when argc == 1.
void KonecPrograma(int argc, double seconds);

int NivexMain(int argc, const char** argv);

#endif
