// Running the whole adjustment in-process on a data text, and reading the
// adjusted values back from the run's objects.
#ifndef NIVEX_TESTS_IZRAVNAVAUTIL_H
#define NIVEX_TESTS_IZRAVNAVAUTIL_H

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "src/Nivex.h"

struct Izravnava {
    std::unique_ptr<CNivex> run;
    std::string report;                                       // the whole report text
    std::map<std::string, std::vector<long double>> tocke;    // adjusted heights / coordinates
};

// Writes the text to a data file in a fresh directory and runs the pipeline
// on it (console output is swallowed).  The data must be valid: a fatal
// error is thrown on (NivexNapaka) and fails the test.
// With gosto the solution runs on full matrices (the reference path).
Izravnava Izravnaj(const std::string& data, bool gosto = false);

// Largest difference of the adjusted coordinates of two runs of one network.
long double NajvecjaRazlika(const Izravnava& a, const Izravnava& b);

// Every solution method of the settings.
inline constexpr const char* kVseMetode[] = {"NS", "LU", "CH", "QR", "QRHOUS", "QRMGS", "QRGIV", "SVD"};
// The data run with the solution method `metoda` (*NUMSOLV): with gosto on
// full matrices by the method's own decomposition, else by the sparse
// normal equations (which every method but the SVD takes).  Fails the test
// when the run took the other path.
Izravnava IzravnajZ(const std::string& data, const std::string& metoda, bool gosto);

// The data text with every line whose first word is `keyword` removed and
// "keyword value" put first (a settings keyword; later lines override earlier).
std::string ZNastavitvijo(const std::string& data, const std::string& keyword, const std::string& value);
// The data text iterated until the corrections fall below thres, at most
// max + 1 passes.
std::string Iteriraj(const std::string& data, const char* thres = "1e-9", const char* max = "20");
// The data text with its datum lines ("*D" and all "**" lines) replaced.
std::string ZDatumom(const std::string& data, const std::string& datumLines);

// Example data file shipped in examples/.
std::string Primer(const std::string& name);

#endif
