#include "funkcije/CppCas.h"

#include <chrono>
#include <cstdio>

CppCas::CppCas()
{
    casTece = false;
    Update();
}

CppCas::~CppCas() { casTece = false; }

long long CppCas::Ticks()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void CppCas::Update()
{
    rawtime = std::time(nullptr);
    localtime_r(&rawtime, &timeinfo);
}

std::string CppCas::Ascii()
{
    Update();
    char b[64];
    std::snprintf(b, sizeof b, "%4d-%02d-%02d  %02d:%02d:%02d", timeinfo.tm_year + 1900, timeinfo.tm_mon + 1,
                  timeinfo.tm_mday, timeinfo.tm_hour, timeinfo.tm_min, timeinfo.tm_sec);
    ascii = b;
    return ascii;
}

void CppCas::Start()
{
    casTece = true;
    startUra = Ticks();
}

double CppCas::Stop()
{
    if (!casTece) return 0.0;
    casTece = false;
    stopUra = Ticks();
    return static_cast<double>(stopUra - startUra) / 1000.0;
}
