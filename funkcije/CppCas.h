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
    int LetoDt();   // calendar year
    int MesecDt();  // month counted from 0
    int DanDt();
    int Ura();
    int Min();
    int Sec();
    void Start();
    // Elapsed seconds since Start; 0.0 when no measurement runs.
    double Stop();
    // Waits until the clock has advanced by the given seconds.
    void Pocakaj(int seconds);

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
