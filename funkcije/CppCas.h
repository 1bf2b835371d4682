// CppCas: calendar date for the banner and a millisecond clock for the
// elapsed time of the run.
#ifndef NIVEX_FUNKCIJE_CPPCAS_H
#define NIVEX_FUNKCIJE_CPPCAS_H

#include <ctime>
#include <string>

class CppCas {
public:
    CppCas();
    ~CppCas();
    CppCas(const CppCas&) = delete;
    CppCas& operator=(const CppCas&) = delete;

    // Reads the calendar clock and its local broken-down time.
    void Update();
    // "YYYY-MM-DD  hh:mm:ss" of the current local time.
    std::string Ascii();
    void Start();
    // Elapsed seconds since Start; 0.0 when no measurement runs.
    double Stop();

private:
    // Milliseconds of a monotonic clock.
    static long long Ticks();

    std::time_t rawtime = 0;
    long long startUra = 0;
    long long stopUra = 0;
    std::tm timeinfo{};
    bool casTece = false;
    std::string ascii;
};

#endif
